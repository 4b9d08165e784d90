// wobrix-jack's parts that need no server: the audio thread's one call,
// which allocates and locks nothing and plays exactly what the effect plays, with
// block-size changes made beside it; and the state file, read back exactly
// and refused in one line when malformed.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "AllocationCounter.h"
#include "LockCounter.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"
#include "host/jack/LiveAudio.h"
#include "host/jack/LiveState.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kFrames = 256;

struct Block {
    std::vector<float> in0 = std::vector<float>(kFrames), in1 = std::vector<float>(kFrames);
    std::vector<float> out0 = std::vector<float>(kFrames), out1 = std::vector<float>(kFrames);
    float* ins[2] = {in0.data(), in1.data()};
    float* outs[2] = {out0.data(), out1.data()};
    void fill(int cycle)
    {
        for (int32_t i = 0; i < kFrames; ++i) {
            in0[i] = static_cast<float>(((cycle * kFrames + i) % 97) - 48) / 60.0f;
            in1[i] = -in0[i] * 0.5f;
        }
    }
};

TEST(LiveAudio, PlaysWhatTheEffectPlaysWithoutAllocating)
{
    Plugin live(WOBRIX_HOSTS_ADDON, HostSide::Realtime), offline(WOBRIX_HOSTS_ADDON);
    for (Plugin* p : {&live, &offline}) {
        p->prepare(48000, kFrames);
        p->selectProgram(3); // Heavy: both stages and the envelope at work
    }
    LiveAudio audio(&live.effect());
    AEffect* reference = &offline.effect();
    constexpr int kCycles = 4000;
    size_t allocated = 0;
    int differing = 0;
    const uint64_t hostCalls = live.realtimeHost().calls();
    size_t locked = 0, controlLocks = 0;
    std::thread thread([&] {
        Block block, expected;
        const size_t before = allocationCount();
        countLocks(true);
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            block.fill(cycle);
            expected.fill(cycle);
            audio.run(block.ins, block.outs, kFrames);
            reference->processReplacing(reference, expected.ins, expected.outs, kFrames);
            differing += block.out0 != expected.out0 || block.out1 != expected.out1;
        }
        locked = lockCount();
        std::mutex control; // the counter sees a lock that is taken
        control.lock();
        control.unlock();
        controlLocks = lockCount() - locked;
        countLocks(false);
        allocated = allocationCount() - before;
    });
    thread.join();
    EXPECT_EQ(allocated, 0u);
    EXPECT_EQ(locked, 0u);
    EXPECT_EQ(controlLocks, 1u);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(live.realtimeHost().calls(), hostCalls) << "audio asks nothing of the host";
}

// While the block size changes the audio goes on: each cycle is the
// effect's output or silence, never a call into a suspended effect.
TEST(LiveAudio, BlockSizeChangesBesideTheAudioThread)
{
    Plugin live(WOBRIX_HOSTS_ADDON, HostSide::Realtime);
    live.prepare(48000, kFrames);
    live.selectProgram(2);
    LiveAudio audio(&live.effect());
    std::atomic<bool> stop{false};
    std::atomic<int> cycles{0};
    bool finite = true;
    std::thread thread([&] {
        Block block;
        while (!stop.load()) {
            block.fill(cycles.fetch_add(1));
            audio.run(block.ins, block.outs, kFrames);
            for (float v : block.out0)
                finite &= std::abs(v) <= 1.0f;
        }
    });
    for (int32_t size : {128, 1024, 64, 256, 4096, 256}) {
        // Each change while the audio thread is at work.
        const int seen = cycles.load();
        while (cycles.load() < seen + 3)
            std::this_thread::yield();
        audio.setBlockSize(size);
    }
    stop.store(true);
    thread.join();
    EXPECT_TRUE(finite);
}

class LiveStateFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wobrix-state-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file(const std::string& name, const std::string& text)
    {
        const fs::path p = dir / name;
        std::ofstream(p) << text;
        return p.string();
    }
    fs::path dir;
};

TEST_F(LiveStateFile, ARestartGetsExactlyTheSameProgramAndValues)
{
    const std::string path = (dir / "state.txt").string();
    EXPECT_FALSE(readLiveState(path)) << "no file: nothing to restore";
    Plugin before(WOBRIX_HOSTS_ADDON);
    before.selectProgram(2);
    before.setParameter(0, 0.123456789f);
    before.setParameter(2, 1.0f); // kept as the effect limits it
    writeLiveState(path, before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_read, fs::perms::owner_read);

    const std::optional<LiveState> state = readLiveState(path);
    ASSERT_TRUE(state);
    Plugin after(WOBRIX_HOSTS_ADDON);
    checkLiveState(*state, path, after);
    applyLiveState(*state, after);
    EXPECT_EQ(after.currentProgram(), 2);
    for (int32_t i = 0; i < after.effect().numParams; ++i)
        EXPECT_EQ(after.parameter(i), before.parameter(i)) << i;
    EXPECT_EQ(liveStateText(after), liveStateText(before));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "nothing left beside it";
}

TEST_F(LiveStateFile, AMalformedFileIsRefusedInOneLine)
{
    const struct {
        std::string text, message;
    } cases[] = {
        {"program x\n", ":1: the program is not a whole number"},
        {"# fine\nprogram 1\nprogram 2\n", ":3: a second program line"},
        {"set 1\n", ":1: expected set INDEX=VALUE"},
        {"set -1=0.5\n", ":1: the parameter index is not a whole number"},
        {"set 1=1.5\n", ":1: the value is not a number from 0 to 1"},
        {"set 1=nan\n", ":1: the value is not a number from 0 to 1"},
        {"\n\nvolume 3\n", ":3: expected `program N` or `set INDEX=VALUE`"},
    };
    for (const auto& c : cases) {
        const std::string path = file("bad.txt", c.text);
        try {
            readLiveState(path);
            ADD_FAILURE() << c.text;
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()), path + c.message);
        }
    }
    // Well formed, but not this effect's.
    Plugin plugin(WOBRIX_HOSTS_ADDON);
    for (const char* text : {"program 5\n", "set 6=0\n"}) {
        const std::string path = file("other.txt", text);
        const auto state = readLiveState(path);
        ASSERT_TRUE(state);
        EXPECT_THROW(checkLiveState(*state, path, plugin), UsageError) << text;
    }
}

} // namespace
