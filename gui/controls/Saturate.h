// Float-to-integer conversions for values a control cannot trust: a value
// set from outside may be NaN or far beyond any pixel. C++ leaves converting
// such a float to an int undefined, so these clamp first.
#pragma once

#include <cmath>
#include <cstdint>

// Pixel positions never come near this, and sums of a few of them stay far
// inside int32, so positions clamped to it can be added without overflow.
inline constexpr int32_t kPositionLimit = 1 << 20;

// Truncation toward zero, clamped to lo ... hi; NaN counts as 0 (then
// clamped, for a range that does not hold 0).
inline int32_t saturatedTrunc(double x, int32_t lo = INT32_MIN, int32_t hi = INT32_MAX)
{
    if (std::isnan(x))
        x = 0.0;
    if (x <= static_cast<double>(lo))
        return lo;
    if (x >= static_cast<double>(hi))
        return hi;
    return static_cast<int32_t>(x);
}

// A position in pixels from a computed float.
inline int32_t pixelTrunc(double x)
{
    return saturatedTrunc(x, -kPositionLimit, kPositionLimit);
}

// The value a control draws or steps from: NaN counts as 0.
inline float saneValue(float value)
{
    return std::isnan(value) ? 0.0f : value;
}
