// PixelBuffer: a view onto 32-bit pixels (blue, green, red, alpha bytes),
// what windows, bitmaps and back ends hand each other.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/Rect.h"

// `stride` bytes per row.
struct PixelBuffer {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;

    bool valid() const { return bits != nullptr && width > 0 && height > 0; }
    clipping_rect bounds() const { return {0, 0, width - 1, height - 1}; }
    uint8_t* at(int32_t x, int32_t y) const
    {
        return bits + static_cast<size_t>(y) * static_cast<size_t>(stride) +
               static_cast<size_t>(x) * 4;
    }
};
