// HostedEffect: one effect of a loaded add-on, with a HostRecorder answering
// from its first call, driven by the opcodes a Linux host sends its editor:
// 14 with the parent window's id, 19 for idle, 15 to close.
#pragma once

#include <cstdint>
#include <string>

#include "host/driver/addon/AddOn.h"
#include "host/driver/addon/HostRecorder.h"

class HostedEffect {
public:
    // Null `effect()` when the entry point answered none.
    explicit HostedEffect(const AddOn& addOn);
    // Closes the editor if it is open, then the effect.
    ~HostedEffect();
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    AEffect* effect() const { return effect_; }
    HostRecorder& recorder() { return recorder_; }

    VstIntPtr dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0);
    // 14: the id travels in the pointer, as an integer.
    VstIntPtr open(uint32_t parent);
    void idle();
    void close();
    void setParameter(int32_t index, float value);
    // The parameter's display text (opcode 7).
    std::string display(int32_t index);
    // The host saw opcode 0 for `index` with `value`.
    bool automated(int32_t index, float value) const;

private:
    HostRecorder recorder_;
    AEffect* effect_ = nullptr;
    bool open_ = false;
};
