// The fast block kernel of the bass processor: the stateless stages run as
// vector loops over chunks, only the compressor's gain recursion runs serially.
#pragma once

#include <cstdint>

#include "BassBlock.h"

// Audio thread; allocates nothing. Reads every input of a chunk before it
// writes any output of it, so the outputs may be the inputs, even crossed.
void bassKernel(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                float* out0, float* out1, int32_t sampleFrames, bool accumulate);

using BassKernelFn = void (*)(BassState&, const BassBlock&, const float*, const float*, float*,
                              float*, int32_t, bool);

// The versions for baseline x86-64 (0), AVX2 (1) and AVX-512 (2), null for
// one this machine cannot run; bassKernel runs the highest it can. For tests.
BassKernelFn bassKernelVersion(int index);
