// WindowAdopter: how an editor gets its window without knowing what shows
// it, and at what scale it is shown. The add-on (or program) that assembles
// an editor picks the adopter of its back end.
#pragma once

#include <cstdint>

class BWindow;

struct WindowAdopter {
    // Makes a running window of width x height editor pixels from whatever a
    // host handed over (the editor opcode's pointer), each pixel shown as a
    // scale x scale block; null when the handle is refused. The window is the
    // caller's to delete.
    using Adopt = BWindow* (*)(void* hostHandle, int32_t width, int32_t height, int32_t scale);
    // The scale (1 to 4) windows are shown at, given the one the caller was
    // told (0: none).
    using Scale = int32_t (*)(int32_t asked);

    constexpr WindowAdopter(Adopt a = nullptr, Scale s = nullptr, int32_t told = 0)
        : adopt(a), scale(s), asked(told)
    {
    }
    explicit constexpr operator bool() const { return adopt != nullptr; }
    // Each call may look again (the environment, the X server).
    int32_t scaleNow() const { return scale != nullptr ? scale(asked) : 1; }

    Adopt adopt;
    Scale scale;   // null: always 1
    int32_t asked; // what a host said (LV2's ui:scaleFactor) or --scale; 0: nothing
};
