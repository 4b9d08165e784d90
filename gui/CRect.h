// CRect: a rectangle in frame pixels, (left, top, right, bottom).
//
// Two edge conventions meet here. Drawing treats right and bottom as
// exclusive (a w x h rectangle at (x, y) is (x, y, x + w, y + h)), while the
// mouse hit test counts both of them as inside: a click on the column just
// right of a view, which is never drawn, still lands on that view. The frame
// and containers rely on that, so pointInside keeps it.
#pragma once

#include <cstdint>

#include "CPoint.h"

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }

    constexpr CRect& offset(int32_t dx, int32_t dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }

    // Puts the top-left corner at (x, y); the size travels with it.
    constexpr CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }

    // Positive amounts shrink the rectangle on both sides, negative ones grow it.
    constexpr CRect& inset(int32_t dx, int32_t dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }

    constexpr bool pointInside(const CPoint& p) const
    {
        return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
    }

    // A clip rectangle equal field by field to the current one is not set again.
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

// The platform rectangle has float fields and inclusive edges. Most drawing
// hands it exactly the pixels of the toolkit rectangle, one less on the right
// and at the bottom; the few operations that outline through the exclusive
// edges take the four values unchanged. PlatformRect is built from four floats
// in the order left, top, right, bottom.
template <class PlatformRect> constexpr PlatformRect platformRect(const CRect& r)
{
    return PlatformRect{static_cast<float>(r.left), static_cast<float>(r.top),
                        static_cast<float>(r.right - 1), static_cast<float>(r.bottom - 1)};
}

template <class PlatformRect> constexpr PlatformRect platformRectUnchanged(const CRect& r)
{
    return PlatformRect{static_cast<float>(r.left), static_cast<float>(r.top),
                        static_cast<float>(r.right), static_cast<float>(r.bottom)};
}
