// Renderer: runs stereo audio through a Plugin block by block, with buffers
// for as many pins as the record asks for. Used by process, demo and bench.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/driver/addon/Plugin.h"

enum class ProcessMode { Replacing, Accumulating };

class Renderer {
public:
    Renderer(Plugin& plugin, int32_t blockSize, ProcessMode mode);

    // Processes `frames` (at most blockSize) frames of left/right input into
    // left/right output. Extra input pins get silence.
    void block(const float* left, const float* right, float* outLeft, float* outRight,
               int32_t frames);

    // Whole signals; `progress` hears the fraction done after each block.
    void run(const std::vector<float>& left, const std::vector<float>& right,
             std::vector<float>& outLeft, std::vector<float>& outRight,
             const std::function<void(double)>& progress = {});

    int32_t blockSize() const { return size; }

private:
    Plugin& plugin;
    int32_t size;
    ProcessMode mode;
    std::vector<std::vector<float>> inputs, outputs;
    std::vector<float*> inPtrs, outPtrs;
};
