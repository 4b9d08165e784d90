// ZeltoBassProc: the bass processor. Sums the inputs to mono, drives the sum
// into a tube clipper and a peak compressor, blends with the dry sum, clips,
// and writes the same signal to both outputs.
#pragma once

#include <cstdint>

#include "BassBlock.h"

struct ZeltoBassParams;

class ZeltoBassProc {
public:
    ZeltoBassProc() { clear(); }

    // Host thread, outside processing. `params` is owned by the effect and
    // outlives the processor. A rate that is not positive and finite is kept
    // out: the processor keeps the rate it had.
    void init(float rate, const ZeltoBassParams* params);
    // Resets the compressor's envelope.
    void clear() { state.gain = 1.0f; }

    // Audio thread; allocates nothing, locks nothing. Reads the first two
    // channels of each array; the outputs may be the inputs, even crossed.
    // `process` adds into the outputs, `processReplacing` overwrites them.
    void process(float** inputs, float** outputs, int32_t sampleFrames);
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);

    float getSampleRate() const { return sampleRate; }
    const BassState& getState() const { return state; }

private:
    template <bool Accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);

    float sampleRate = 0.0f;
    BassState state;
    const ZeltoBassParams* params = nullptr; // not owned
};
