// One preset of the bass effect: three normalised values and a name.
#pragma once

#include "plugin/HostText.h"
#include "plugin/Relaxed.h"

// The maker's web address: program 0's name and every program's default.
inline constexpr const char* kMakerAddress = "www.zeltoaudio.com";

struct ZeltoBassProgram {
    // Any thread writes the current program's values (the host, the audio
    // thread, the editor's sliders and random patch), so each is relaxed.
    Relaxed<float> mix = 1.0f;        // 0 = all dry, 1 = all processed
    Relaxed<float> tubeDist = 0.0f;   // 0 switches the tube stage off
    Relaxed<float> compressor = 0.0f; // 0 switches the compressor off; at most 0.99
    char name[kHostTextSize] = {};    // zero-terminated, at most 23 characters

    ZeltoBassProgram() { copyHostText(name, kMakerAddress); }
};
