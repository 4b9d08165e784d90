// The LV2 plug-in's identity and ports, defined once: the wrapper connects
// by these indices and the description generator writes the URIs, symbols,
// ranges, units and groups from the same table. Names, programs and
// defaults are not here; the generator reads them from the effect.
#pragma once

#include <cstdint>

#include "effect/ZeltoBass.h"

// Sessions store this; it never changes once released.
inline constexpr const char* kLv2PluginUri = "http://www.zeltoaudio.com/lv2/WobrixFree";
inline constexpr const char* kLv2BinaryName = "WobrixFree.so";

enum class Lv2PortKind { AudioIn, AudioOut, Control, Enabled };
enum class Lv2Group { None, Input, Output };

struct Lv2Port {
    const char* symbol;
    Lv2PortKind kind;
    Lv2Group group;
    const char* designation; // a pg: term for audio channels, else null
    const char* name;        // audio and bypass ports; controls take the effect's
    int32_t parameter;       // the effect's parameter index, or -1
    float minimum;
    float maximum;
};

enum Lv2PortIndex : uint32_t {
    kPortInL,
    kPortInR,
    kPortOutL,
    kPortOutR,
    kPortMix,
    kPortTube,
    kPortComp,
    kPortEnabled,
    kNumLv2Ports
};

// In index order. Controls keep the effect's own 0..1 scale, so presets and
// automation carry the same floats as the record add-on's parameters; the
// Compressor's top is the limit the effect applies.
inline constexpr Lv2Port kLv2Ports[kNumLv2Ports] = {
    {"in_l", Lv2PortKind::AudioIn, Lv2Group::Input, "left", "In L", -1, 0.0f, 0.0f},
    {"in_r", Lv2PortKind::AudioIn, Lv2Group::Input, "right", "In R", -1, 0.0f, 0.0f},
    {"out_l", Lv2PortKind::AudioOut, Lv2Group::Output, "left", "Out L", -1, 0.0f, 0.0f},
    {"out_r", Lv2PortKind::AudioOut, Lv2Group::Output, "right", "Out R", -1, 0.0f, 0.0f},
    {"mix", Lv2PortKind::Control, Lv2Group::None, nullptr, nullptr, kMix, 0.0f, 1.0f},
    {"tube", Lv2PortKind::Control, Lv2Group::None, nullptr, nullptr, kTubeDist, 0.0f, 1.0f},
    {"comp", Lv2PortKind::Control, Lv2Group::None, nullptr, nullptr, kCompressor, 0.0f,
     kCompressorLimit},
    {"enabled", Lv2PortKind::Enabled, Lv2Group::None, nullptr, "Enabled", -1, 0.0f, 1.0f},
};

// The control ports that drive effect parameters, in table order.
inline constexpr uint32_t kFirstLv2Control = kPortMix;
inline constexpr uint32_t kNumLv2Controls = kPortEnabled - kPortMix;
