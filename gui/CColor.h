// CColor and the toolkit's ten colour constants.
//
// The fourth byte is data, not opacity: it is carried, copied and compared,
// but every colour reaches the platform fully opaque. Transparency is a key
// colour instead: red, green and blue all 255, whatever the fourth byte.
#pragma once

#include <cstdint>

struct CColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused = 0;

    friend constexpr bool operator==(const CColor&, const CColor&) = default;
};

// Passed by value as one 32-bit word with red in the lowest byte.
static_assert(sizeof(CColor) == 4 && alignof(CColor) <= 4);

inline constexpr CColor colorTransparent{255, 255, 255, 0};
inline constexpr CColor colorBlack{0, 0, 0, 0};
inline constexpr CColor colorWhite{255, 255, 255, 0};
inline constexpr CColor colorGrey{127, 127, 127, 0};
inline constexpr CColor colorRed{255, 0, 0, 0};
inline constexpr CColor colorGreen{0, 255, 0, 0};
inline constexpr CColor colorBlue{0, 0, 255, 0};
inline constexpr CColor colorYellow{255, 255, 0, 0};
inline constexpr CColor colorMagenta{255, 0, 255, 0};
inline constexpr CColor colorCyan{0, 255, 255, 0};
// Hosts' pictures were drawn against these bytes; transparent and white are
// the same value, as the key is a colour, not a fourth byte.
static_assert(colorTransparent == colorWhite && colorWhite == CColor{255, 255, 255, 0} &&
              colorBlack == CColor{0, 0, 0, 0} && colorGrey == CColor{127, 127, 127, 0} &&
              colorRed == CColor{255, 0, 0, 0} && colorGreen == CColor{0, 255, 0, 0} &&
              colorBlue == CColor{0, 0, 255, 0} && colorYellow == CColor{255, 255, 0, 0} &&
              colorMagenta == CColor{255, 0, 255, 0} && colorCyan == CColor{0, 255, 255, 0});

// White is the transparency key, so colorWhite and colorTransparent both test true.
constexpr bool isTransparentKey(CColor c)
{
    return c.red == 255 && c.green == 255 && c.blue == 255;
}

// PlatformColor is built from four bytes: red, green, blue, alpha.
template <class PlatformColor> constexpr PlatformColor platformColor(CColor c)
{
    return PlatformColor{c.red, c.green, c.blue, uint8_t{255}};
}
