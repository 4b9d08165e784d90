// The straightforward per-sample transcription of the bass processor, kept as
// the reference that the fast processor is tested and benchmarked against.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/BassBlock.h"

template <bool Accumulate>
void referenceBassBlock(BassState& state, const BassBlock& b, const float* in0, const float* in1,
                        float* out0, float* out1, int32_t sampleFrames)
{
    using namespace bass;
    float gain = state.gain;
    float gainStep = state.gainStep;
    for (int32_t i = 0; i < sampleFrames; i++) {
        const double x = bassMonoSum(in0[i], in1[i]);
        double y = x;
        if (b.tubeOn) {
            const double h = x * b.drive;
            if (h > kKnee || h < -kKnee) {
                const double r = std::fmin((std::fabs(h) - kKnee) / (b.drive - kKnee), 1.0);
                const double q = (1.0 - r) * kCurveScale;
                const double s = (0.5 - q * q) * kTubeHeight + kKnee;
                y = h > 0 ? s : -s;
            } else {
                y = h;
            }
        }
        if (b.compOn) {
            double v = y * b.compGain;
            if (v > kThreshold || v < -kThreshold) {
                const double a = std::fabs(v);
                const double r = std::fmin((a - kThreshold) / (b.compGain - kThreshold), 1.0);
                const double q = (1.0 - r) * kCurveScale;
                const double target = ((0.5 - q * q) * kCompHeight + kThreshold) / a;
                if (target < gain) {
                    gain = static_cast<float>(target);
                    gainStep = static_cast<float>((1.0 - gain) / b.release);
                }
            }
            if (gain < 1.0f) {
                v *= gain;
                gain = static_cast<float>(gain + gainStep);
            }
            y = v;
        }
        double out = y * b.mix + x * (1.0 - b.mix);
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
