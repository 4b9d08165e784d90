// The two host callbacks: the real-time one answers the audio thread of a
// loaded add-on without allocating and keeps only fixed counters; the
// recorder of the scripted tools keeps a bounded log and counts the rest.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "AllocationCounter.h"
#include "host/driver/addon/AddOn.h"
#include "host/driver/addon/HostRecorder.h"
#include "host/driver/addon/RealtimeHost.h"

namespace {

TEST(RealtimeHost, AnswersTheAudioThreadWithoutAllocating)
{
    AddOn addOn;
    std::string error;
    ASSERT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    RealtimeHost host;
    host.beginLoading();
    AEffect* e = addOn.entry()(RealtimeHost::callback);
    host.attach(e);
    ASSERT_NE(e, nullptr);
    EXPECT_GE(host.calls(), 1u) << "the entry's version query is counted";
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    e->dispatcher(e, effSetBlockSize, 0, 64, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);

    // What a plug-in may ask from its audio thread, with the answers a plain
    // host gives.
    struct Case {
        int32_t opcode;
        VstIntPtr expected;
    };
    const Case cases[] = {{audioMasterVersion, 2400},
                          {audioMasterCurrentId, 0},
                          {audioMasterIdle, 0},
                          {audioMasterGetTime, 0},
                          {audioMasterGetSampleRate, 0},
                          {audioMasterUpdateDisplay, 1},
                          {audioMasterGetVendorVersion, 1},
                          {audioMasterGetVendorString, 1},
                          {audioMasterGetProductString, 1},
                          {audioMasterProcessEvents, 0}};
    constexpr int kCycles = 5000;
    const uint64_t callsBefore = host.calls();
    size_t allocated = 0;
    bool answersRight = true;
    std::thread audio([&] {
        std::vector<float> in(64, 0.25f), out0(64), out1(64);
        float* ins[] = {in.data(), in.data()};
        float* outs[] = {out0.data(), out1.data()};
        char text[64];
        const size_t before = allocationCount();
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            e->processReplacing(e, ins, outs, 64);
            for (const Case& c : cases)
                answersRight &= RealtimeHost::callback(e, c.opcode, 0, 0, text, 0) == c.expected;
            // The effect tells the host through the same callback.
            e->setParameter(e, cycle % 3, static_cast<float>(cycle % 100) / 100.0f);
            RealtimeHost::callback(e, audioMasterAutomate, cycle % 3, 0, nullptr,
                                   static_cast<float>(cycle) / kCycles);
        }
        allocated = allocationCount() - before;
    });
    audio.join();
    EXPECT_EQ(allocated, 0u);
    EXPECT_TRUE(answersRight);
    EXPECT_EQ(host.calls() - callsBefore, kCycles * (std::size(cases) + 1));
    EXPECT_EQ(host.automations(), uint64_t{kCycles});
    const RealtimeHost::Automation last = host.lastAutomation();
    EXPECT_EQ(last.index, (kCycles - 1) % 3);
    EXPECT_EQ(last.value, static_cast<float>(kCycles - 1) / kCycles);

    // The names a plain host gives, written where the plug-in asks.
    char vendor[64] = {};
    EXPECT_EQ(RealtimeHost::callback(e, audioMasterGetVendorString, 0, 0, vendor, 0), 1);
    EXPECT_STREQ(vendor, "Zelto Audio");
    EXPECT_EQ(RealtimeHost::callback(e, audioMasterGetVendorString, 0, 0, nullptr, 0), 0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);

    // Without a host bound it only answers.
    EXPECT_EQ(RealtimeHost::callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0), 2400);
    EXPECT_EQ(RealtimeHost().lastAutomation().index, -1);
}

TEST(HostRecorder, KeepsABoundedLogAndCountsTheRest)
{
    HostRecorder recorder;
    AEffect effect{};
    recorder.attach(&effect);
    const size_t extra = 5;
    bool answered = true;
    for (size_t i = 0; i < HostRecorder::kLogLimit + extra; ++i)
        answered &= HostRecorder::callback(&effect, audioMasterVersion, 0, 0, nullptr, 0) == 2400;
    EXPECT_TRUE(answered);
    const std::vector<HostCall> calls = recorder.calls();
    EXPECT_EQ(calls.size(), HostRecorder::kLogLimit);
    EXPECT_EQ(recorder.droppedCalls(), extra);
    recorder.clearCalls();
    EXPECT_EQ(recorder.droppedCalls(), 0u);
    HostRecorder::callback(&effect, audioMasterAutomate, 1, 0, nullptr, 0.5f);
    ASSERT_EQ(recorder.calls().size(), 1u) << "room again once cleared";
    EXPECT_EQ(recorder.calls()[0].opt, 0.5f);
}

} // namespace
