// The bass processor through the effect: each stage against values worked out
// by hand, the envelope over time, the two write modes, aliasing, and the
// mended behaviour for NaN, hot signals and bad sample rates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "AllocationCounter.h"
#include "effect/ZeltoBass.h"
#include "effect/ZeltoBassProc.h"

namespace {

struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(size_t n, float l = 0, float r = 0) : left(n, l), right(n, r) {}
};

class Processor : public ::testing::Test {
protected:
    // Program 0: mix 1, both stages off.
    ZeltoBass effect{nullptr};

    float one(float in0, float in1)
    {
        float a = in0, b = in1, o0 = 0, o1 = 0;
        float* ins[] = {&a, &b};
        float* outs[] = {&o0, &o1};
        effect.processReplacing(ins, outs, 1);
        EXPECT_EQ(o0, o1) << "both outputs carry the same signal";
        return o0;
    }
    float gain() const { return effect.getProcessor()->getState().gain; }
    float gainStep() const { return effect.getProcessor()->getState().gainStep; }
};

TEST_F(Processor, BothStagesOffGivesTheClippedMonoSum)
{
    EXPECT_FLOAT_EQ(one(0.3f, 0.1f), 0.2f);
    EXPECT_FLOAT_EQ(one(-0.5f, 0.0f), -0.25f);
    EXPECT_FLOAT_EQ(one(1.0f, 1.0f), 0.999f);
    EXPECT_FLOAT_EQ(one(-1.0f, -1.0f), -0.999f);
    effect.setParameter(kMix, 0.3f); // y = x, so mix changes nothing
    EXPECT_FLOAT_EQ(one(0.3f, 0.1f), 0.2f);
}

TEST_F(Processor, TubeStage)
{
    effect.setParameter(kTubeDist, 0.25f);  // drive 2
    EXPECT_FLOAT_EQ(one(0.2f, 0.2f), 0.4f); // below the knee: linear, slope drive
    EXPECT_NEAR(one(0.5f, 0.5f), 0.79592f, 1e-5);
    EXPECT_FLOAT_EQ(one(1.0f, 1.0f), 0.999f); // top of the curve, then clipped
    EXPECT_EQ(one(-0.5f, -0.5f), -one(0.5f, 0.5f));
    EXPECT_EQ(one(-0.13f, -0.2f), -one(0.13f, 0.2f));
}

TEST_F(Processor, CompressorAttackAndRelease)
{
    effect.setParameter(kCompressor, 0.5f); // input gain 2
    EXPECT_FLOAT_EQ(one(0.1f, 0.1f), 0.2f); // below the threshold: gain alone
    EXPECT_EQ(gain(), 1.0f);

    EXPECT_NEAR(one(0.5f, 0.5f), 0.75841f, 1e-5); // attack within the sample
    EXPECT_NEAR(gainStep(), 0.0000219f, 1e-7);
    EXPECT_NEAR(gain(), 0.75843f, 1e-5);

    // Linear release: back to 1 after a quarter second at 44100 Hz.
    Stereo silence(11000), out(11000);
    float* ins[] = {silence.left.data(), silence.right.data()};
    float* outs[] = {out.left.data(), out.right.data()};
    effect.processReplacing(ins, outs, 11000);
    EXPECT_LT(gain(), 1.0f);
    effect.processReplacing(ins, outs, 50);
    EXPECT_GE(gain(), 1.0f);

    // resume() resets the envelope.
    one(0.5f, 0.5f);
    EXPECT_LT(gain(), 1.0f);
    effect.resume();
    EXPECT_EQ(gain(), 1.0f);
}

TEST_F(Processor, MixZeroIsDryButTheEnvelopeStillMoves)
{
    effect.setParameter(kMix, 0.0f);
    effect.setParameter(kTubeDist, 0.6f);
    effect.setParameter(kCompressor, 0.9f);
    EXPECT_FLOAT_EQ(one(0.5f, 0.3f), 0.4f);
    EXPECT_LT(gain(), 1.0f);
}

TEST_F(Processor, AccumulateAddsReplacingOverwrites)
{
    Stereo in(64, 0.25f, 0.15f), out(64);
    float* ins[] = {in.left.data(), in.right.data()};
    float* outs[] = {out.left.data(), out.right.data()};
    effect.process(ins, outs, 64);
    effect.process(ins, outs, 64);
    EXPECT_FLOAT_EQ(out.left[63], 0.4f);
    EXPECT_FLOAT_EQ(out.right[0], 0.4f);
    effect.processReplacing(ins, outs, 64);
    effect.processReplacing(ins, outs, 64);
    EXPECT_FLOAT_EQ(out.left[17], 0.2f);
    EXPECT_FLOAT_EQ(out.right[17], 0.2f);
}

TEST_F(Processor, OutputsMayBeTheInputsEvenCrossed)
{
    effect.setProgram(3); // both stages on
    std::vector<float> l(257), r(257);
    for (size_t i = 0; i < l.size(); i++) {
        l[i] = std::sin(0.05f * i) * 0.9f;
        r[i] = std::cos(0.031f * i) * 0.7f;
    }
    ZeltoBass separate{nullptr};
    separate.setProgram(3);
    std::vector<float> o0(l.size()), o1(l.size());
    std::vector<float> lCopy = l, rCopy = r;
    float* sepIns[] = {lCopy.data(), rCopy.data()};
    float* sepOuts[] = {o0.data(), o1.data()};
    separate.processReplacing(sepIns, sepOuts, 257);

    float* ins[] = {l.data(), r.data()};
    float* crossed[] = {r.data(), l.data()};
    effect.processReplacing(ins, crossed, 257);
    EXPECT_EQ(l, o0);
    EXPECT_EQ(r, o0);
}

TEST_F(Processor, EmptyBlocksTouchNothing)
{
    effect.setParameter(kCompressor, 0.5f);
    float a = 0.9f, b = 0.9f, o0 = 7, o1 = 7;
    float* ins[] = {&a, &b};
    float* outs[] = {&o0, &o1};
    effect.processReplacing(ins, outs, 0);
    effect.process(ins, outs, -5);
    EXPECT_EQ(o0, 7.0f);
    EXPECT_EQ(gain(), 1.0f);
}

TEST_F(Processor, NaNInputGivesSilenceAndLeavesTheEnvelopeFinite)
{
    effect.setProgram(3);
    one(0.9f, 0.9f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(one(nan, 0.5f), 0.0f);
    EXPECT_EQ(one(0.5f, nan), 0.0f);
    EXPECT_TRUE(std::isfinite(gain()));
    EXPECT_TRUE(std::isfinite(gainStep()));
    EXPECT_GT(one(0.5f, 0.5f), 0.0f);
}

// Past full scale both curves hold at their top: a hotter input is never
// quieter and never flips polarity, and the envelope stays positive.
TEST_F(Processor, HotSignalsHoldAtTheTop)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (float tube : {0.0f, 0.03f, 0.25f, 0.6f, 1.0f}) {
        for (float comp : {0.0f, 0.5f, 0.96f}) {
            ZeltoBass e{nullptr};
            e.setParameter(kTubeDist, tube);
            e.setParameter(kCompressor, comp);
            float previous = 0;
            for (float level : {0.5f, 0.9f, 1.0f, 1.2f, 1.7f, 2.3f, 5.0f, 1e6f, 3e38f, inf}) {
                float a = level, b = level, o0, o1;
                float* ins[] = {&a, &b};
                float* outs[] = {&o0, &o1};
                e.resume();
                e.processReplacing(ins, outs, 1);
                EXPECT_TRUE(std::isfinite(o0)) << tube << " " << comp << " " << level;
                EXPECT_GE(o0, previous - 1e-6f) << tube << " " << comp << " " << level;
                EXPECT_GT(e.getProcessor()->getState().gain, 0.0f);
                previous = o0;
                a = -level, b = -level;
                e.resume();
                e.processReplacing(ins, outs, 1);
                EXPECT_LT(o0, 0.0f);
            }
        }
    }
}

TEST_F(Processor, UnusableSampleRatesAreIgnored)
{
    effect.setSampleRate(48000.0f);
    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        effect.setSampleRate(bad);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f);
        EXPECT_EQ(effect.getProcessor()->getSampleRate(), 48000.0f);
        effect.dispatcher(effSetBlockSizeAndSampleRate, 0, 256, nullptr, bad);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    }
}

TEST_F(Processor, ProcessingAllocatesNothing)
{
    effect.setProgram(3);
    Stereo in(4096, 0.7f, -0.2f), out(4096);
    float* ins[] = {in.left.data(), in.right.data()};
    float* outs[] = {out.left.data(), out.right.data()};
    AEffect* record = effect.getAeffect();
    const size_t before = allocationCount();
    record->processReplacing(record, ins, outs, 4096);
    record->process(record, ins, outs, 4096);
    EXPECT_EQ(allocationCount(), before);
}

} // namespace
