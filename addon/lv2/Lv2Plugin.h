// Lv2Plugin: one instance of the effect as an LV2 host sees it. Holds the
// port pointers the host connects, applies changed control values through
// the effect's setParameter, and crossfades to the untouched input when the
// enabled port turns off.
#pragma once

#include <cstdint>

#include "Lv2Bypass.h"
#include "Lv2Ports.h"
#include "effect/ZeltoBass.h"

class Lv2Plugin {
public:
    // Not real-time. Null when the rate is unusable or memory ran out.
    static Lv2Plugin* create(double sampleRate) noexcept;

    // Real-time: stores the pointer, nothing else.
    void connect(uint32_t port, void* data) noexcept;
    // Start fresh, as the effect's resume does; deactivate suspends.
    void activate() noexcept;
    void deactivate() noexcept;
    // Real-time: no allocation, no lock, time bounded by `frames`.
    void run(uint32_t frames) noexcept;

    // For tests: the frames processed per piece while a switch fades.
    static constexpr uint32_t kChunk = 256;

private:
    explicit Lv2Plugin(double sampleRate);
    void applyControls();
    void runPiece(float* in[2], float* out[2], uint32_t frames);

    ZeltoBass effect{nullptr};
    Lv2Bypass bypass;
    float* ports[kNumLv2Ports] = {};
    // The raw port value last applied, compared bit for bit, so a NaN from a
    // careless host is applied once rather than on every block.
    uint32_t applied[kNumLv2Controls] = {};
    bool fresh = true; // no block run since activation
    // Scratch for a fading block: a copy of the input (the outputs may be
    // the inputs) and the processed signal.
    float dry[2][kChunk] = {};
    float wet[2][kChunk] = {};
};
