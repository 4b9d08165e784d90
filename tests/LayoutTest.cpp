// Checks the byte layout of the records that cross the host boundary. Built
// twice: natively (x86-64 layout) and with -m32 (the protocol's 32-bit one).
// Plain C++ without a test framework, so the -m32 build needs no 32-bit gtest.
#include <cstddef>
#include <cstdio>

#include "effect/ZeltoBassProgram.h"
#include "plugin/AEffect.h"

namespace {
int passed = 0;
int failed = 0;

void expect(const char* what, size_t actual, size_t expected)
{
    if (actual == expected) {
        passed++;
    } else {
        failed++;
        std::printf("FAILED %s: %zu, expected %zu\n", what, actual, expected);
    }
}

struct Field {
    const char* name;
    size_t offset;
    size_t at32;
    size_t at64;
};
}  // namespace

#define FIELD(f, o32, o64) Field{#f, offsetof(AEffect, f), o32, o64}

int main()
{
    const bool is64 = sizeof(void*) == 8;
    const Field fields[] = {
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
    };
    for (const Field& f : fields)
        expect(f.name, f.offset, is64 ? f.at64 : f.at32);
    expect("sizeof(AEffect)", sizeof(AEffect), is64 ? 192 : 144);

    expect("sizeof(ERect)", sizeof(ERect), 8);
    expect("ERect.top", offsetof(ERect, top), 0);
    expect("ERect.left", offsetof(ERect, left), 2);
    expect("ERect.bottom", offsetof(ERect, bottom), 4);
    expect("ERect.right", offsetof(ERect, right), 6);

    expect("VstPinProperties.label", offsetof(VstPinProperties, label), 0);
    expect("VstPinProperties.pinFlags", offsetof(VstPinProperties, pinFlags), 64);

    expect("sizeof(ZeltoBassProgram)", sizeof(ZeltoBassProgram), 36);
    expect("ZeltoBassProgram.mix", offsetof(ZeltoBassProgram, mix), 0);
    expect("ZeltoBassProgram.tubeDist", offsetof(ZeltoBassProgram, tubeDist), 4);
    expect("ZeltoBassProgram.compressor", offsetof(ZeltoBassProgram, compressor), 8);
    expect("ZeltoBassProgram.name", offsetof(ZeltoBassProgram, name), 12);

    std::printf("layout%d: %d passed, %d failed\n", is64 ? 64 : 32, passed, failed);
    return failed == 0 ? 0 : 1;
}
