// LiveAudio: the audio thread's one call, and the pause around a change.
#include "LiveAudio.h"

#include <cstring>
#include <thread>

void LiveAudio::run(float* const* inputs, float* const* outputs, int32_t frames)
{
    inside.store(true);
    if (paused.load()) {
        for (int c = 0; c < 2; ++c)
            std::memset(outputs[c], 0, static_cast<size_t>(frames) * sizeof(float));
    } else {
        effect->processReplacing(effect, const_cast<float**>(inputs), const_cast<float**>(outputs),
                                 frames);
    }
    inside.store(false);
}

void LiveAudio::setBlockSize(int32_t frames)
{
    paused.store(true);
    while (inside.load())
        std::this_thread::yield();
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetBlockSize, 0, frames, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    paused.store(false);
}
