// CPoint: a pixel position in frame coordinates, h to the right, v downwards.
#pragma once

#include <cstdint>

struct CPoint {
    int32_t h = 0;
    int32_t v = 0;

    constexpr CPoint& offset(int32_t dx, int32_t dy)
    {
        h += dx;
        v += dy;
        return *this;
    }

    // Arcs treat two equal points as "the whole ellipse", so equality is by field.
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};
