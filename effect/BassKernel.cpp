// The fast block kernel. Each chunk goes through three passes:
//   1. shape (vector): mono sum, tube curve, compressor input, and what an
//      attack at each sample would do (it depends only on the signal);
//   2. envelope (serial): attack and linear release of the float gain;
//   3. blend (vector): apply the gain, mix with the dry sum, clip, write.
// The arithmetic and every decision are those of the per-sample description,
// in double precision, so the result matches it to the last bits.
#include "BassKernel.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace bass;

constexpr int32_t kChunk = 256;
constexpr double kLargest = 3.4028234663852886e38; // FLT_MAX
constexpr double kNoAttack = std::numeric_limits<double>::infinity();

struct Chunk {
    double x[kChunk];          // dry mono sum
    double v[kChunk];          // tube output, or compressor input when it runs
    double target[kChunk];     // gain an attack would aim at; +inf below threshold
    float attackLevel[kChunk]; // an attack happens when the gain is above this
    float attackGain[kChunk];  // the gain it sets
    float gain[kChunk];        // gain applied to each sample, 1 when none
};

// Both curves: a parabola rising from `knee` at a = knee to knee + height / 2
// at the top of the span, held there beyond it (r at most 1).
[[gnu::always_inline]] inline double shoulder(double a, double knee, double span, double height)
{
    double r = (a - knee) / span;
    r = r < 1.0 ? r : 1.0;
    const double q = (1.0 - r) * kCurveScale;
    return (0.5 - q * q) * height + knee;
}

[[gnu::always_inline]] inline void shape(const BassBlock& b, const float* in0, const float* in1,
                                         int32_t n, Chunk& c)
{
    for (int32_t i = 0; i < n; i++) {
        double x = (static_cast<double>(in0[i]) + static_cast<double>(in1[i])) * 0.5;
        // NaN is silence; the clamps are written as min and max, which the
        // compiler turns into single vector instructions.
        x = x == x ? x : 0.0;
        x = x < kLargest ? x : kLargest;
        x = x > -kLargest ? x : -kLargest;
        c.x[i] = x;
    }
    if (b.tubeOn) {
        const double drive = b.drive;
        const double span = drive - kKnee;
        for (int32_t i = 0; i < n; i++) {
            const double h = c.x[i] * drive;
            const double ah = std::fabs(h);
            const double s = shoulder(ah, kKnee, span, kTubeHeight);
            c.v[i] = ah > kKnee ? std::copysign(s, h) : h;
        }
    } else {
        for (int32_t i = 0; i < n; i++)
            c.v[i] = c.x[i];
    }
    if (!b.compOn)
        return;
    const double g = b.compGain;
    const double span = g - kThreshold;
    for (int32_t i = 0; i < n; i++) {
        const double v = c.v[i] * g;
        const double a = std::fabs(v);
        const double t = shoulder(a, kThreshold, span, kCompHeight) / a;
        c.v[i] = v;
        c.target[i] = a > kThreshold ? t : kNoAttack;
    }
    for (int32_t i = 0; i < n; i++) {
        const double t = c.target[i];
        // The serial pass decides attacks in float: t < gain (double against
        // float) holds exactly when the gain is above the largest float not
        // above t, which is t rounded to nearest, stepped down once if that
        // went up. +inf stays +inf: no attack.
        const float nearest = static_cast<float>(t);
        const float below = std::bit_cast<float>(std::bit_cast<uint32_t>(nearest) - 1u);
        c.attackLevel[i] = static_cast<double>(nearest) > t ? below : nearest;
        c.attackGain[i] = nearest;
    }
}

// The serial part: an attack sets the gain and its step; a gain >= 1 is
// neither applied nor stepped. Attacks and releases come in runs, so the
// branches predict well and the chain is one float add per sample.
[[gnu::always_inline]] inline void envelope(BassState& s, double release, int32_t n, Chunk& c)
{
    float gain = s.gain;
    float gainStep = s.gainStep;
    for (int32_t i = 0; i < n; i++) {
        if (gain > c.attackLevel[i]) {
            gain = c.attackGain[i];
            gainStep = static_cast<float>((1.0 - gain) / release);
        }
        if (gain < 1.0f) {
            c.gain[i] = gain;
            gain += gainStep;
        } else {
            c.gain[i] = 1.0f;
        }
    }
    s.gain = gain;
    s.gainStep = gainStep;
}

// A gain of exactly 1 leaves the sample as it is, so the compressed and the
// plain blend differ only in where the multiply's factor comes from.
template <bool Accumulate, bool Compressed>
[[gnu::always_inline]] inline void blend(double mix, const Chunk& c, int32_t n, float* out0,
                                         float* out1)
{
    const double dry = 1.0 - mix;
    for (int32_t i = 0; i < n; i++) {
        const double v = Compressed ? c.v[i] * static_cast<double>(c.gain[i]) : c.v[i];
        double out = v * mix + c.x[i] * dry;
        out = out < kClip ? out : kClip;
        out = out > -kClip ? out : -kClip;
        const float o = static_cast<float>(out);
        if constexpr (Accumulate) {
            out0[i] += o;
            out1[i] += o;
        } else {
            out0[i] = o;
            out1[i] = o;
        }
    }
}

// Compiled for AVX2 and for baseline x86-64; the loader picks one once.
__attribute__((target_clones("avx2", "default"))) void
kernel(BassState& state, const BassBlock& block, const float* in0, const float* in1, float* out0,
       float* out1, int32_t sampleFrames, bool accumulate)
{
    Chunk c; // 11 KiB on the stack: no allocation
    for (int32_t start = 0; start < sampleFrames; start += kChunk) {
        const int32_t n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        shape(block, in0 + start, in1 + start, n, c);
        float* o0 = out0 + start;
        float* o1 = out1 + start;
        if (block.compOn) {
            envelope(state, block.release, n, c);
            if (accumulate)
                blend<true, true>(block.mix, c, n, o0, o1);
            else
                blend<false, true>(block.mix, c, n, o0, o1);
        } else if (accumulate) {
            blend<true, false>(block.mix, c, n, o0, o1);
        } else {
            blend<false, false>(block.mix, c, n, o0, o1);
        }
    }
}

} // namespace

void bassKernel(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                float* out0, float* out1, int32_t sampleFrames, bool accumulate)
{
    kernel(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}
