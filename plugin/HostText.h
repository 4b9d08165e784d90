// Helpers for what the plug-in writes into host-owned buffers and for the
// float-to-integer conversions of its displays.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

// Texts written into a host buffer: at most 23 characters plus the terminator.
constexpr size_t kHostTextSize = 24;
// A pin label: at most 63 characters plus the terminator.
constexpr size_t kPinLabelSize = 64;

// Copies at most size-1 characters and always terminates.
inline void copyHostText(char* dst, const char* src, size_t size = kHostTextSize)
{
    size_t n = std::strlen(src);
    if (n > size - 1)
        n = size - 1;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// Truncates toward zero, saturating to the 32-bit range; NaN counts as 0.
inline int32_t saturateToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}
