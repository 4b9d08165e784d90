// LiveAudio: the effect's side of a live audio thread. run() hands the
// server's buffers to processReplacing and does nothing else; a change of
// block size, which the effect takes suspended, is made off the audio thread
// while run() stays out of the effect.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/AEffect.h"

class LiveAudio {
public:
    // `effect` is prepared (rate, block size, resumed) and outlives this.
    explicit LiveAudio(AEffect* effect) : effect(effect) {}

    // Audio thread: no lock, no allocation, no system call. Two inputs and
    // two outputs of `frames` samples; silence while a change is under way.
    void run(float* const* inputs, float* const* outputs, int32_t frames);

    // Any thread but the audio thread: waits until run() is out of the
    // effect, then suspends it, sets the block size and resumes it.
    void setBlockSize(int32_t frames);

private:
    AEffect* const effect;
    // Both sequentially consistent: run() marks itself inside before it
    // looks at `paused`, setBlockSize() raises `paused` before it looks at
    // `inside`, so they never meet inside the effect.
    std::atomic<bool> paused{false};
    std::atomic<bool> inside{false};
};
