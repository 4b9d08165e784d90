// Renderer: the block loop and the pin buffers behind it.
#include "Renderer.h"

#include <algorithm>
#include <cstring>

Renderer::Renderer(Plugin& p, int32_t blockSize, ProcessMode m)
    : plugin(p), size(blockSize), mode(m)
{
    const auto b = static_cast<size_t>(blockSize);
    inputs.assign(static_cast<size_t>(plugin.inputChannels()), std::vector<float>(b, 0.0f));
    outputs.assign(static_cast<size_t>(plugin.outputChannels()), std::vector<float>(b, 0.0f));
    for (auto& c : inputs)
        inPtrs.push_back(c.data());
    for (auto& c : outputs)
        outPtrs.push_back(c.data());
}

void Renderer::block(const float* left, const float* right, float* outLeft, float* outRight,
                     int32_t frames)
{
    const auto n = static_cast<size_t>(frames);
    std::memcpy(inPtrs[0], left, n * sizeof(float));
    std::memcpy(inPtrs[1], right, n * sizeof(float));
    AEffect& fx = plugin.effect();
    if (mode == ProcessMode::Replacing) {
        fx.processReplacing(&fx, inPtrs.data(), outPtrs.data(), frames);
    } else {
        // The accumulating call adds to what is there; starting from silence
        // makes its result comparable with the replacing one.
        for (auto& c : outputs)
            std::fill(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(n), 0.0f);
        fx.process(&fx, inPtrs.data(), outPtrs.data(), frames);
    }
    std::memcpy(outLeft, outPtrs[0], n * sizeof(float));
    // A record with one output pin sends it to both sides.
    std::memcpy(outRight, outPtrs[plugin.effect().numOutputs >= 2 ? 1 : 0], n * sizeof(float));
}

void Renderer::run(const std::vector<float>& left, const std::vector<float>& right,
                   std::vector<float>& outLeft, std::vector<float>& outRight,
                   const std::function<void(double)>& progress)
{
    const size_t total = left.size();
    outLeft.assign(total, 0.0f);
    outRight.assign(total, 0.0f);
    for (size_t at = 0; at < total;) {
        const size_t n = std::min(total - at, static_cast<size_t>(size));
        block(left.data() + at, right.data() + at, outLeft.data() + at, outRight.data() + at,
              static_cast<int32_t>(n));
        at += n;
        // The recorder logs every host call; a long render should not grow it.
        plugin.recorder().clearCalls();
        if (progress)
            progress(static_cast<double>(at) / static_cast<double>(total));
    }
}
