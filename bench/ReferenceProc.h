// The per-sample transcription of the bass processor as one writes it first:
// constants hoisted, state in locals, every mend and clamp an ordinary
// comparison. The tests take it as the oracle of the fast kernel and the
// benchmarks as its baseline, compiled with the product's flags.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/BassBlock.h"

template <bool Accumulate>
void referenceBassBlock(BassState& state, const BassBlock& b, const float* in0, const float* in1,
                        float* out0, float* out1, int32_t sampleFrames)
{
    using namespace bass;
    constexpr double largest = 3.4028234663852886e38; // FLT_MAX
    const double drive = b.drive;
    const double tubeSpan = drive - kKnee;
    const double compGain = b.compGain;
    const double compSpan = compGain - kThreshold;
    const double release = b.release;
    const double mix = b.mix;
    const double dry = 1.0 - mix;
    const bool tubeOn = b.tubeOn;
    const bool compOn = b.compOn;
    float gain = state.gain;
    float gainStep = state.gainStep;
    for (int32_t i = 0; i < sampleFrames; i++) {
        // A NaN counts as silence and an infinity as the largest finite level.
        double x = (static_cast<double>(in0[i]) + static_cast<double>(in1[i])) * 0.5;
        if (x != x)
            x = 0.0;
        else if (x > largest)
            x = largest;
        else if (x < -largest)
            x = -largest;
        double y = x;
        if (tubeOn) {
            const double h = x * drive;
            if (h > kKnee || h < -kKnee) {
                double r = (std::fabs(h) - kKnee) / tubeSpan;
                if (r > 1.0)
                    r = 1.0;
                const double q = (1.0 - r) * kCurveScale;
                const double s = (0.5 - q * q) * kTubeHeight + kKnee;
                y = h > 0.0 ? s : -s;
            } else {
                y = h;
            }
        }
        if (compOn) {
            double v = y * compGain;
            if (v > kThreshold || v < -kThreshold) {
                const double a = std::fabs(v);
                double r = (a - kThreshold) / compSpan;
                if (r > 1.0)
                    r = 1.0;
                const double q = (1.0 - r) * kCurveScale;
                const double target = ((0.5 - q * q) * kCompHeight + kThreshold) / a;
                if (target < gain) {
                    gain = static_cast<float>(target);
                    gainStep = static_cast<float>((1.0 - gain) / release);
                }
            }
            if (gain < 1.0f) {
                v *= gain;
                gain += gainStep;
            }
            y = v;
        }
        double out = y * mix + x * dry;
        if (out > kClip)
            out = kClip;
        else if (out < -kClip)
            out = -kClip;
        const float o = static_cast<float>(out);
        if constexpr (Accumulate) {
            out0[i] += o;
            out1[i] += o;
        } else {
            out0[i] = o;
            out1[i] = o;
        }
    }
    state.gain = gain;
    state.gainStep = gainStep;
}
