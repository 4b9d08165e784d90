// Checks the byte layout of the records that cross the host boundary. Built
// twice: natively (x86-64 layout) and with -m32 (the protocol's 32-bit one).
// Plain C++ without a test framework, so the -m32 build needs no 32-bit gtest.
#include <cstddef>
#include <cstdio>

#include "effect/ZeltoBassProgram.h"
#include "plugin/AEffect.h"

namespace {

constexpr bool is64 = sizeof(void*) == 8;

struct Check {
    const char* what;
    size_t actual;
    size_t expected;
};

#define FIELD(f, o32, o64)                                                                         \
    Check                                                                                          \
    {                                                                                              \
        "AEffect." #f, offsetof(AEffect, f), is64 ? o64 : o32                                      \
    }

constexpr Check kChecks[] = {
    FIELD(magic, 0, 0),
    FIELD(dispatcher, 4, 8),
    FIELD(process, 8, 16),
    FIELD(setParameter, 12, 24),
    FIELD(getParameter, 16, 32),
    FIELD(numPrograms, 20, 40),
    FIELD(numParams, 24, 44),
    FIELD(numInputs, 28, 48),
    FIELD(numOutputs, 32, 52),
    FIELD(flags, 36, 56),
    FIELD(reserved1, 40, 64),
    FIELD(reserved2, 44, 72),
    FIELD(initialDelay, 48, 80),
    FIELD(realtimeQualities, 52, 84),
    FIELD(offlineQualities, 56, 88),
    FIELD(ioRatio, 60, 92),
    FIELD(object, 64, 96),
    FIELD(user, 68, 104),
    FIELD(uniqueID, 72, 112),
    FIELD(version, 76, 116),
    FIELD(processReplacing, 80, 120),
    FIELD(future, 84, 128),
    {"sizeof(AEffect)", sizeof(AEffect), is64 ? 192u : 144u},

    {"sizeof(ERect)", sizeof(ERect), 8},
    {"ERect.top", offsetof(ERect, top), 0},
    {"ERect.left", offsetof(ERect, left), 2},
    {"ERect.bottom", offsetof(ERect, bottom), 4},
    {"ERect.right", offsetof(ERect, right), 6},

    {"VstPinProperties.label", offsetof(VstPinProperties, label), 0},
    {"VstPinProperties.pinFlags", offsetof(VstPinProperties, pinFlags), 64},

    {"sizeof(ZeltoBassProgram)", sizeof(ZeltoBassProgram), 36},
    {"ZeltoBassProgram.mix", offsetof(ZeltoBassProgram, mix), 0},
    {"ZeltoBassProgram.tubeDist", offsetof(ZeltoBassProgram, tubeDist), 4},
    {"ZeltoBassProgram.compressor", offsetof(ZeltoBassProgram, compressor), 8},
    {"ZeltoBassProgram.name", offsetof(ZeltoBassProgram, name), 12},
};

constexpr bool allHold()
{
    for (const Check& c : kChecks)
        if (c.actual != c.expected)
            return false;
    return true;
}

} // namespace

// The -m32 build checks while compiling too, for machines whose kernel runs
// no 32-bit programs; the program itself names any field that moved.
#ifdef WOBRIX_LAYOUT_AT_COMPILE_TIME
static_assert(
    allHold(),
    "a record's layout moved; build without WOBRIX_LAYOUT_AT_COMPILE_TIME and run it to see which");
#endif

int main()
{
    int passed = 0, failed = 0;
    for (const Check& c : kChecks) {
        if (c.actual == c.expected) {
            passed++;
        } else {
            failed++;
            std::printf("FAILED %s: %zu, expected %zu\n", c.what, c.actual, c.expected);
        }
    }
    std::printf("layout%d: %d passed, %d failed\n", is64 ? 64 : 32, passed, failed);
    return failed == 0 && allHold() ? 0 : 1;
}
