// The fast block kernel of the bass processor: the stateless stages run as
// vector loops over chunks, only the compressor's gain recursion runs serially.
#pragma once

#include <cstdint>

#include "BassBlock.h"

// Audio thread; allocates nothing. Reads every input of a chunk before it
// writes any output of it, so the outputs may be the inputs, even crossed.
void bassKernel(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                float* out0, float* out1, int32_t sampleFrames, bool accumulate);
