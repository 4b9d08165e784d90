// The fast block kernel. Each chunk goes through three passes:
//   1. shape (vector): mono sum, tube curve, compressor input and the gain
//      each sample would attack to (the target depends only on the signal);
//   2. envelope (serial): attack and linear release of the float gain;
//   3. blend (vector): mix with the dry sum, clip, write both outputs.
// The arithmetic and every decision are those of the per-sample description,
// in double precision, so the result matches it to the last bits. The vector
// passes are compiled for AVX2 and for baseline x86-64, chosen at load time.
#include "BassKernel.h"

#include <cmath>
#include <limits>

namespace {

using namespace bass;

constexpr int32_t kChunk = 256;
constexpr double kLargest = 3.4028234663852886e38;  // FLT_MAX
constexpr double kNoAttack = std::numeric_limits<double>::infinity();

struct Chunk {
    double x[kChunk];       // dry mono sum
    double v[kChunk];       // tube output, or compressor input when it runs
    double target[kChunk];  // gain an attack would set; +inf below threshold
};

// Both curves: a parabola rising from `knee` at a = knee to knee + height / 2
// at the top of the span, held there beyond it (r at most 1).
inline double shoulder(double a, double knee, double span, double height)
{
    double r = (a - knee) / span;
    r = r < 1.0 ? r : 1.0;
    const double q = (1.0 - r) * kCurveScale;
    return (0.5 - q * q) * height + knee;
}

__attribute__((target_clones("avx2", "default"))) void shape(const BassBlock& b,
                                                             const float* in0, const float* in1,
                                                             int32_t n, Chunk& c)
{
    for (int32_t i = 0; i < n; i++) {
        double x = (static_cast<double>(in0[i]) + static_cast<double>(in1[i])) * 0.5;
        x = x == x ? x : 0.0;  // NaN is silence
        x = x > kLargest ? kLargest : (x < -kLargest ? -kLargest : x);
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
    if (b.compOn) {
        const double g = b.compGain;
        const double span = g - kThreshold;
        for (int32_t i = 0; i < n; i++) {
            const double v = c.v[i] * g;
            const double a = std::fabs(v);
            const double t = shoulder(a, kThreshold, span, kCompHeight) / a;
            c.v[i] = v;
            c.target[i] = a > kThreshold ? t : kNoAttack;
        }
    }
}

// The serial part: gain >= 1 is neither applied nor stepped.
void envelope(BassState& s, double release, int32_t n, Chunk& c)
{
    float gain = s.gain;
    float gainStep = s.gainStep;
    for (int32_t i = 0; i < n; i++) {
        if (c.target[i] < gain) {
            gain = static_cast<float>(c.target[i]);
            gainStep = static_cast<float>((1.0 - gain) / release);
        }
        if (gain < 1.0f) {
            c.v[i] *= gain;
            gain = static_cast<float>(gain + gainStep);
        }
    }
    s.gain = gain;
    s.gainStep = gainStep;
}

template <bool Accumulate>
__attribute__((target_clones("avx2", "default"))) void blend(double mix, const Chunk& c,
                                                             int32_t n, float* out0, float* out1)
{
    const double dry = 1.0 - mix;
    for (int32_t i = 0; i < n; i++) {
        double out = c.v[i] * mix + c.x[i] * dry;
        out = out > kClip ? kClip : (out < -kClip ? -kClip : out);
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

}  // namespace

void bassKernel(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                float* out0, float* out1, int32_t sampleFrames, bool accumulate)
{
    Chunk c;  // 6 KiB on the stack: no allocation
    for (int32_t start = 0; start < sampleFrames; start += kChunk) {
        const int32_t n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        shape(block, in0 + start, in1 + start, n, c);
        if (block.compOn)
            envelope(state, block.release, n, c);
        if (accumulate)
            blend<true>(block.mix, c, n, out0 + start, out1 + start);
        else
            blend<false>(block.mix, c, n, out0 + start, out1 + start);
    }
}
