// The fast kernel against the per-sample reference, bit for bit: random
// programs, random signals with hot, NaN and denormal samples, awkward block
// sizes, guard samples after each output, and the envelope carried across
// blocks.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bench/ReferenceProc.h"
#include "effect/BassKernel.h"

namespace {

constexpr float kGuard = 12345.0f;
constexpr size_t kGuardCount = 8;

// Equal bits: tells -0 from +0, as a listener's null test would not, but a
// later stage dividing by the output might.
uint32_t bits(float v)
{
    return std::bit_cast<uint32_t>(v);
}

std::vector<float> randomSignal(std::mt19937& rng, size_t n)
{
    std::uniform_real_distribution<float> level(-1.0f, 1.0f);
    std::uniform_int_distribution<int> kind(0, 99);
    std::vector<float> s(n);
    for (float& x : s) {
        const int k = kind(rng);
        if (k < 2)
            x = std::numeric_limits<float>::quiet_NaN();
        else if (k < 4)
            x = std::numeric_limits<float>::denorm_min() * static_cast<float>(k + 1);
        else if (k < 10)
            x = level(rng) * 4.0f; // hot
        else if (k < 11)
            x = (k & 1 ? 1 : -1) * std::numeric_limits<float>::infinity();
        else
            x = level(rng);
    }
    return s;
}

BassBlock randomBlock(std::mt19937& rng)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> pick(0, 7);
    // The programs, then the dry sum taken in float: all dry, and a tube
    // that a mix of 0 leaves out.
    const float presets[][3] = {{0, 0, 1},        {0.03f, 0.5f, 1}, {0.15f, 0.7f, 1},
                                {0.6f, 0.96f, 1}, {0, 0, 0},        {0.4f, 0, 0}};
    const int p = pick(rng);
    if (p < 6)
        return makeBassBlock(presets[p][0], presets[p][1], presets[p][2], 44100.0f);
    return makeBassBlock(unit(rng), unit(rng) * 0.99f, unit(rng), 48000.0f);
}

// Runs the same blocks through both and compares every sample.
void compare(BassKernelFn kernel, std::mt19937& rng, bool accumulate, size_t totalFrames)
{
    std::uniform_int_distribution<int> blockSize(1, 4096);
    BassState fast, reference;
    size_t done = 0;
    int blocks = 0;
    while (done < totalFrames) {
        const int n =
            blocks < 12 ? std::vector<int>{0, 1, 3, 4, 5, 32, 33, 47, 255, 257, 4095, 4096}[blocks]
                        : blockSize(rng);
        blocks++;
        const BassBlock b = randomBlock(rng);
        const auto in0 = randomSignal(rng, n), in1 = randomSignal(rng, n);
        std::vector<float> f0(n + kGuardCount, kGuard), f1(n + kGuardCount, kGuard);
        std::vector<float> r0(n, 0.0f), r1(n, 0.0f);
        if (accumulate) {
            for (int i = 0; i < n; i++)
                f0[i] = f1[i] = r0[i] = r1[i] = 0.25f;
        }
        kernel(fast, b, in0.data(), in1.data(), f0.data(), f1.data(), n, accumulate);
        if (accumulate)
            referenceBassBlock<true>(reference, b, in0.data(), in1.data(), r0.data(), r1.data(), n);
        else
            referenceBassBlock<false>(reference, b, in0.data(), in1.data(), r0.data(), r1.data(),
                                      n);
        for (int i = 0; i < n; i++) {
            ASSERT_EQ(bits(f0[i]), bits(r0[i]))
                << "block " << blocks << " sample " << i << ": " << f0[i] << " against " << r0[i];
            ASSERT_EQ(bits(f0[i]), bits(f1[i]));
            ASSERT_TRUE(std::isfinite(f0[i]));
        }
        for (size_t g = 0; g < kGuardCount; g++)
            ASSERT_EQ(f0[n + g], kGuard) << "wrote past the block";
        ASSERT_EQ(bits(fast.gain), bits(reference.gain)) << "block " << blocks;
        ASSERT_EQ(bits(fast.gainStep), bits(reference.gainStep)) << "block " << blocks;
        done += n;
    }
}

// Every version this machine runs, each with the same signals.
template <typename Check> void eachVersion(Check check)
{
    for (int v = 0; v < 3; v++) {
        if (BassKernelFn kernel = bassKernelVersion(v)) {
            SCOPED_TRACE("kernel version " + std::to_string(v));
            check(kernel);
        }
    }
}

TEST(Kernel, MatchesTheReferenceReplacing)
{
    eachVersion([](BassKernelFn kernel) {
        std::mt19937 rng(1);
        compare(kernel, rng, false, 44100 * 4);
    });
}

TEST(Kernel, MatchesTheReferenceAccumulating)
{
    eachVersion([](BassKernelFn kernel) {
        std::mt19937 rng(2);
        compare(kernel, rng, true, 44100 * 2);
    });
}

// `make soak` sets WOBRIX_SOAK_SECONDS to run the comparison for minutes.
TEST(Kernel, SoakAgainstTheReference)
{
    const char* seconds = std::getenv("WOBRIX_SOAK_SECONDS");
    if (!seconds)
        GTEST_SKIP() << "set WOBRIX_SOAK_SECONDS to soak";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(seconds));
    std::mt19937 rng(static_cast<unsigned>(std::time(nullptr)));
    while (std::chrono::steady_clock::now() < end) {
        eachVersion([&rng](BassKernelFn kernel) {
            compare(kernel, rng, false, 44100 * 10);
            compare(kernel, rng, true, 44100 * 2);
        });
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(Kernel, InPlaceAndCrossedBuffers)
{
    std::mt19937 rng(3);
    const BassBlock b = makeBassBlock(0.6f, 0.96f, 0.8f, 44100.0f);
    for (int n : {1, 255, 256, 257, 1000}) {
        auto l = randomSignal(rng, n), r = randomSignal(rng, n);
        std::vector<float> o0(n), o1(n);
        BassState s1;
        referenceBassBlock<false>(s1, b, l.data(), r.data(), o0.data(), o1.data(), n);
        eachVersion([&](BassKernelFn kernel) {
            auto cl = l, cr = r;
            BassState s2;
            kernel(s2, b, cl.data(), cr.data(), cr.data(), cl.data(), n, false); // crossed
            for (int i = 0; i < n; i++) {
                ASSERT_EQ(bits(cl[i]), bits(o0[i]));
                ASSERT_EQ(bits(cl[i]), bits(cr[i]));
            }
        });
    }
}

} // namespace
