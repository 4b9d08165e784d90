// ZeltoBassProc: block setup and the per-sample loop.
#include "ZeltoBassProc.h"

#include <cmath>

#include "ZeltoBassParams.h"
#include "plugin/AudioEffect.h"

void ZeltoBassProc::init(float rate, const ZeltoBassParams* p)
{
    if (AudioEffect::isUsableSampleRate(rate))
        sampleRate = rate;
    params = p;
}

void ZeltoBassProc::process(float** inputs, float** outputs, int32_t sampleFrames)
{
    run<true>(inputs, outputs, sampleFrames);
}

void ZeltoBassProc::processReplacing(float** inputs, float** outputs, int32_t sampleFrames)
{
    run<false>(inputs, outputs, sampleFrames);
}

template <bool Accumulate>
void ZeltoBassProc::run(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (sampleFrames <= 0 || !params)
        return;
    using namespace bass;
    const BassBlock b = makeBassBlock(params->tubeDist.load(std::memory_order_relaxed),
                                      params->compressor.load(std::memory_order_relaxed),
                                      params->mix.load(std::memory_order_relaxed), sampleRate);
    const float* in0 = inputs[0];
    const float* in1 = inputs[1];
    float* out0 = outputs[0];
    float* out1 = outputs[1];
    float gain = state.gain;
    float gainStep = state.gainStep;

    for (int32_t i = 0; i < sampleFrames; i++) {
        // Both inputs of the sample are read before either output is written.
        const double x = bassMonoSum(in0[i], in1[i]);
        double y = x;
        if (b.tubeOn) {
            const double h = x * b.drive;
            if (h > kKnee || h < -kKnee) {
                // Held at the top past |h| = drive (r at most 1).
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
                if (target < gain) {  // attack: immediate
                    gain = static_cast<float>(target);
                    gainStep = static_cast<float>((1.0 - gain) / b.release);
                }
            }
            if (gain < 1.0f) {  // release: linear back to 1
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
