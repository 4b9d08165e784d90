// ZeltoBassProc: reads the parameters once per block and hands the block to the kernel.
#include "ZeltoBassProc.h"

#include "BassKernel.h"
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
    const BassBlock b = makeBassBlock(params->tubeDist.load(std::memory_order_relaxed),
                                      params->compressor.load(std::memory_order_relaxed),
                                      params->mix.load(std::memory_order_relaxed), sampleRate);
    bassKernel(state, b, inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames, Accumulate);
}
