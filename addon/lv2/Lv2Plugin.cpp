// Lv2Plugin: instantiation, control values and the bypass fade.
#include "Lv2Plugin.h"

#include <cstring>
#include <new>

namespace {

uint32_t bitsOf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The effect takes int32_t frame counts.
constexpr uint32_t kMaxPiece = 1u << 30;

} // namespace

Lv2Plugin* Lv2Plugin::create(double sampleRate) noexcept
{
    if (!AudioEffect::isUsableSampleRate(static_cast<float>(sampleRate)))
        return nullptr;
    Lv2Plugin* p = nullptr;
    try {
        p = new (std::nothrow) Lv2Plugin(sampleRate);
    } catch (...) {
        return nullptr;
    }
    if (p && !p->effect.getProcessor()) {
        delete p;
        return nullptr;
    }
    return p;
}

Lv2Plugin::Lv2Plugin(double sampleRate)
{
    effect.setSampleRate(static_cast<float>(sampleRate));
    bypass.setSampleRate(sampleRate);
    // The effect starts on program 0, which the ports' defaults copy.
    for (uint32_t i = 0; i < kNumLv2Controls; ++i)
        applied[i] = bitsOf(effect.getParameter(kLv2Ports[kFirstLv2Control + i].parameter));
}

void Lv2Plugin::connect(uint32_t port, void* data) noexcept
{
    if (port < kNumLv2Ports)
        ports[port] = static_cast<float*>(data);
}

void Lv2Plugin::activate() noexcept
{
    effect.resume();
    fresh = true;
}

void Lv2Plugin::deactivate() noexcept
{
    effect.suspend();
}

void Lv2Plugin::applyControls()
{
    for (uint32_t i = 0; i < kNumLv2Controls; ++i) {
        const float* port = ports[kFirstLv2Control + i];
        if (!port)
            continue;
        const float value = *port;
        if (bitsOf(value) == applied[i])
            continue;
        applied[i] = bitsOf(value);
        effect.setParameter(kLv2Ports[kFirstLv2Control + i].parameter, value);
    }
    // Unconnected or NaN counts as enabled: only a clear "off" bypasses.
    const float* enabled = ports[kPortEnabled];
    const bool wasOff = bypass.steadyOff();
    bypass.setEnabled(!(enabled && *enabled < 0.5f));
    // The first block after activation has nothing to fade from.
    if (fresh)
        bypass.settle();
    fresh = false;
    // The processor sat idle while bypassed; it fades in from a fresh start.
    if (wasOff && !bypass.steadyOff())
        effect.resume();
}

void Lv2Plugin::run(uint32_t frames) noexcept
{
    applyControls();
    float* in[2] = {ports[kPortInL], ports[kPortInR]};
    float* out[2] = {ports[kPortOutL], ports[kPortOutR]};
    if (frames == 0 || !in[0] || !in[1] || !out[0] || !out[1])
        return;
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = frames - done < kMaxPiece ? frames - done : kMaxPiece;
        float* pieceIn[2] = {in[0] + done, in[1] + done};
        float* pieceOut[2] = {out[0] + done, out[1] + done};
        runPiece(pieceIn, pieceOut, n);
        done += n;
    }
}

void Lv2Plugin::runPiece(float* in[2], float* out[2], uint32_t frames)
{
    if (bypass.steadyOn()) {
        effect.processReplacing(in, out, static_cast<int32_t>(frames));
        return;
    }
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = frames - done < kChunk ? frames - done : kChunk;
        // Both inputs are copied before any output is written: the host may
        // pass the same buffers, crossed, or one buffer for both outputs.
        std::memcpy(dry[0], in[0] + done, n * sizeof(float));
        std::memcpy(dry[1], in[1] + done, n * sizeof(float));
        if (bypass.steadyOff()) {
            std::memcpy(out[0] + done, dry[0], n * sizeof(float));
            std::memcpy(out[1] + done, dry[1], n * sizeof(float));
        } else {
            float* d[2] = {dry[0], dry[1]};
            float* w[2] = {wet[0], wet[1]};
            effect.processReplacing(d, w, static_cast<int32_t>(n));
            for (uint32_t i = 0; i < n; ++i) {
                const float g = bypass.next();
                out[0][done + i] = wet[0][i] * g + dry[0][i] * (1.0f - g);
                out[1][done + i] = wet[1][i] * g + dry[1][i] * (1.0f - g);
            }
        }
        done += n;
        // A finished fade to on hands the rest of the block to the effect.
        if (bypass.steadyOn() && done < frames) {
            float* restIn[2] = {in[0] + done, in[1] + done};
            float* restOut[2] = {out[0] + done, out[1] + done};
            effect.processReplacing(restIn, restOut, static_cast<int32_t>(frames - done));
            return;
        }
    }
}
