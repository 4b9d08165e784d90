// One preset of the bass effect: three normalised values and a name.
#pragma once

#include "plugin/HostText.h"

// The maker's web address: program 0's name and every program's default.
inline constexpr const char* kMakerAddress = "www.zeltoaudio.com";

struct ZeltoBassProgram {
    float mix = 1.0f;         // 0 = all dry, 1 = all processed
    float tubeDist = 0.0f;    // 0 switches the tube stage off
    float compressor = 0.0f;  // 0 switches the compressor off; at most 0.99
    char name[kHostTextSize] = {};  // zero-terminated, at most 23 characters

    ZeltoBassProgram() { copyHostText(name, kMakerAddress); }
};
