// Inside the platform layer only: float coordinates to whole pixels, and the
// integer rectangle arithmetic the drawing code shares.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/api/Rect.h"

namespace pixel_rect {

// Far beyond any surface; keeps loops and products bounded for absurd input.
inline constexpr int32_t kCoordinateLimit = 1 << 15;

// A float coordinate names the pixel whose centre is nearest; NaN is 0.
inline int32_t pixel(float v)
{
    if (!(v == v))
        return 0;
    const float r = std::floor(v + 0.5f);
    return static_cast<int32_t>(
        std::clamp(r, static_cast<float>(-kCoordinateLimit), static_cast<float>(kCoordinateLimit)));
}

inline clipping_rect fromRect(const BRect& r)
{
    return {pixel(r.left), pixel(r.top), pixel(r.right), pixel(r.bottom)};
}

inline bool isEmpty(const clipping_rect& r)
{
    return r.left > r.right || r.top > r.bottom;
}

inline clipping_rect intersect(const clipping_rect& a, const clipping_rect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

inline clipping_rect offset(clipping_rect r, int32_t dx, int32_t dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

inline constexpr clipping_rect kNothing{0, 0, -1, -1};

} // namespace pixel_rect
