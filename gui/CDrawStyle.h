// How shapes and text are put down: drawing mode, line style, text alignment,
// and the tables that turn the first two into platform values.
#pragma once

#include <cstdint>

enum CDrawMode : int32_t {
    kCopyMode = 0,   // the source replaces the destination
    kOverMode = 1,   // drawn over the destination
    kInvertMode = 2, // the destination is inverted
};

// Indexed by the stored mode without a range check: whoever stores a mode
// keeps it in 0 ... 2. Platform mode 2 is skipped on purpose; invert is 3.
inline constexpr int32_t modeToPlatform[3] = {0, 1, 3};
static_assert(modeToPlatform[kCopyMode] == 0 && modeToPlatform[kOverMode] == 1 &&
              modeToPlatform[kInvertMode] == 3);

// Every value other than kLineSolid draws the same dashed line.
enum CLineStyle : int32_t {
    kLineSolid = 0,
    kLineOnOffDash = 1,
};

constexpr bool isDashed(CLineStyle style)
{
    return style != kLineSolid;
}

// 8 x 8 one-bit pattern, one byte per row: two on, four off, two on.
inline constexpr uint8_t dashPattern[8] = {0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3};
static_assert(!isDashed(kLineSolid) && isDashed(kLineOnOffDash) &&
              isDashed(static_cast<CLineStyle>(2)) && isDashed(static_cast<CLineStyle>(-1)));
static_assert([] {
    for (uint8_t row : dashPattern)
        if (row != 0b1100'0011)
            return false;
    return true;
}());

// Values outside 0 ... 2 are drawn as kLeftText.
enum CHoriTxtAlign : int32_t {
    kLeftText = 0,
    kCenterText = 1,
    kRightText = 2,
};

// Each crosses the host interface as a 32-bit int.
static_assert(kLeftText == 0 && kCenterText == 1 && kRightText == 2);
static_assert(sizeof(CDrawMode) == 4 && sizeof(CLineStyle) == 4 && sizeof(CHoriTxtAlign) == 4);
