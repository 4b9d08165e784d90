// The built add-ons as a host sees them: loaded with dlopen from anywhere,
// exactly one exported function, the record and conversation of a new effect.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/driver/addon/AddOn.h"
#include "tests/support/HostCalls.h"

namespace {

std::string run(const std::string& command)
{
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[256];
    while (fgets(buf, sizeof buf, p))
        out += buf;
    pclose(p);
    return out;
}

// Defined function symbols in the dynamic symbol table.
std::vector<std::string> exportedFunctions(const std::string& file)
{
    std::vector<std::string> names;
    const std::string out = run("nm -D --defined-only '" + file + "'");
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start);
        char type = 0;
        char name[256];
        if (std::sscanf(line.c_str(), "%*s %c %255s", &type, name) == 2 &&
            (type == 'T' || type == 't'))
            names.push_back(name);
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return names;
}

TEST(AddOn, ExportsExactlyOneFunction)
{
    EXPECT_EQ(exportedFunctions(WOBRIX_ADDON), std::vector<std::string>{"main_plugin"});
    EXPECT_EQ(exportedFunctions(WOBRIX_HOSTS_ADDON), std::vector<std::string>{"VSTPluginMain"});
}

TEST(AddOn, LoadsFromAnyDirectoryAndAnswersWithItsRecord)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    AddOn addOn;
    std::string error;
    const bool loaded = addOn.load(WOBRIX_ADDON, error);
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(addOn.entryName(), "main_plugin");

    HostRecorder host;
    AEffect* e = openEffect(host, addOn.entry());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 5);
    EXPECT_EQ(e->numParams, 6);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 0x219); // with its editor
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, 0x5A623771);
    EXPECT_EQ(e->version, 1);
    EXPECT_NE(e->object, nullptr);
    for (char c : e->future)
        EXPECT_EQ(c, 0);

    // The version query, then updateDisplay from selecting program 0.
    EXPECT_EQ(opcodesOf(host.calls()),
              (std::vector<int32_t>{audioMasterVersion, audioMasterUpdateDisplay}));
    EXPECT_EQ(host.calls()[0].effect, nullptr);

    char name[64] = {};
    EXPECT_EQ(e->dispatcher(e, effGetEffectName, 0, 0, name, 0), 1);
    EXPECT_STREQ(name, "WobrixFree");
    // The editor's size comes from the skin the add-on carries.
    ERect* rect = nullptr;
    ASSERT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 262);
    EXPECT_EQ(rect->right, 340);

    // A slider-like automation reaches the host with the value as passed.
    e->setParameter(e, 2, 1.0f);
    EXPECT_EQ(e->getParameter(e, 2), 0.99f);

    std::vector<float> l(512, 0.5f), r(512, 0.5f), o0(512), o1(512);
    float* ins[] = {l.data(), r.data()};
    float* outs[] = {o0.data(), o1.data()};
    e->processReplacing(e, ins, outs, 512);
    EXPECT_GT(o0[511], 0.0f);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
}

TEST(AddOn, HostsAddOnHasTheSameContract)
{
    AddOn addOn;
    std::string error;
    ASSERT_TRUE(addOn.load(WOBRIX_HOSTS_ADDON, error)) << error;
    EXPECT_EQ(addOn.entryName(), "VSTPluginMain");
    HostRecorder host;
    AEffect* e = openEffect(host, addOn.entry());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->uniqueID, 0x5A623771);
    char vendor[64] = {};
    e->dispatcher(e, effGetVendorString, 0, 0, vendor, 0);
    EXPECT_STREQ(vendor, "Zelto Audio");
    // Its editor takes an X11 window id, so a pointer to anything else (or a
    // window that does not exist, or no display at all) opens nothing.
    EXPECT_EQ(e->flags, 0x219);
    ERect* rect = nullptr;
    ASSERT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 1);
    EXPECT_EQ(rect->right - rect->left, 340);
    EXPECT_EQ(rect->bottom - rect->top, 262);
    int fakeWindow = 0;
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &fakeWindow, 0), 0);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x1fffff}), 0),
              0);
    e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0);
    e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
}

TEST(AddOn, HostThatAnswersNoVersionGetsNothing)
{
    AddOn addOn;
    std::string error;
    ASSERT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    HostRecorder host;
    host.version = 0;
    EXPECT_EQ(openEffect(host, addOn.entry()), nullptr);
    ASSERT_EQ(host.calls().size(), 1u) << "nothing but the version query";
    EXPECT_EQ(addOn.entry()(nullptr), nullptr);
}

TEST(AddOn, SeveralEffectsLiveAtOnce)
{
    AddOn addOn;
    std::string error;
    ASSERT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    HostRecorder hostA, hostB;
    AEffect* a = openEffect(hostA, addOn.entry());
    AEffect* b = openEffect(hostB, addOn.entry());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a->dispatcher(a, effSetProgram, 0, 3, nullptr, 0);
    EXPECT_EQ(b->dispatcher(b, effGetProgram, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(a->getParameter(a, 1), 0.6f);
    EXPECT_EQ(b->getParameter(b, 1), 0.0f);
    a->dispatcher(a, effClose, 0, 0, nullptr, 0);
    b->dispatcher(b, effClose, 0, 0, nullptr, 0);
}

} // namespace
