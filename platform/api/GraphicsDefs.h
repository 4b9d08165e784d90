// Colours, drawing modes, patterns and colour spaces of the drawing layer.
#pragma once

#include <cstdint>

struct rgb_color {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t alpha;

    friend constexpr bool operator==(const rgb_color&, const rgb_color&) = default;
};

enum drawing_mode : int32_t {
    B_OP_COPY = 0,   // the high colour replaces the destination
    B_OP_OVER = 1,   // as copy for shapes; bitmaps skip transparent pixels, text paints only glyphs
    B_OP_ERASE = 2,  // the low colour replaces the destination
    B_OP_INVERT = 3, // each covered pixel's red, green and blue become 255 minus themselves
};

// An 8 x 8 one-bit pattern, one byte per row, bit 7 the leftmost column,
// tiled from the view's origin. Pixels under a 0 bit are left alone.
struct pattern {
    uint8_t data[8];
};

extern const pattern B_SOLID_HIGH;

enum color_space : int32_t {
    B_NO_COLOR_SPACE = 0,
    B_RGB16 = 5,
    B_RGB32 = 8,
    B_RGBA32 = 0x2008,
};

// A view of this colour is not erased before it draws.
inline constexpr rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};

// The transparent marker of 32-bit bitmaps: the bytes 77 74 77 00 in memory
// order (blue, green, red, alpha), read as one little-endian 32-bit word.
// Compare whole pixels with it (memcpy a pixel into a uint32_t first).
inline constexpr uint32_t B_TRANSPARENT_32_BIT = 0x00777477u;
