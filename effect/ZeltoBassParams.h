// What the processor reads of the effect at the start of a block: the three
// working parameter values, shared between the host's threads and the audio
// thread as relaxed atomics (single float stores, no lock).
#pragma once

#include <atomic>

struct ZeltoBassParams {
    std::atomic<float> mix{1.0f};
    std::atomic<float> tubeDist{0.0f};
    std::atomic<float> compressor{0.0f};
};
