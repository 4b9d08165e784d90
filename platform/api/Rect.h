// Points and rectangles of the platform: float coordinates whose integer
// values are pixel centres, and edges that count as inside.
#pragma once

#include <cstdint>

struct BPoint {
    float x = 0;
    float y = 0;

    constexpr BPoint() = default;
    constexpr BPoint(float px, float py) : x(px), y(py) {}

    friend constexpr bool operator==(const BPoint&, const BPoint&) = default;
};

inline constexpr BPoint B_ORIGIN{0, 0};

// Integer rectangle, all four edges inclusive.
struct clipping_rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    friend constexpr bool operator==(const clipping_rect&, const clipping_rect&) = default;
};

// Edges inclusive: (0, 0, 9, 9) covers 10 x 10 pixels, and Width() is 9.
// The default rectangle (0, 0, -1, -1) is invalid, as on the original platform.
struct BRect {
    float left = 0;
    float top = 0;
    float right = -1;
    float bottom = -1;

    constexpr BRect() = default;
    constexpr BRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    constexpr BRect(BPoint leftTop, BPoint rightBottom)
        : left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y)
    {
    }

    constexpr float Width() const { return right - left; }
    constexpr float Height() const { return bottom - top; }
    constexpr BPoint LeftTop() const { return {left, top}; }
    constexpr BPoint RightBottom() const { return {right, bottom}; }

    // Moves the rectangle so that its top-left corner is at (x, y); the size travels along.
    constexpr void OffsetTo(float x, float y)
    {
        right += x - left;
        bottom += y - top;
        left = x;
        top = y;
    }
    constexpr void OffsetTo(BPoint p) { OffsetTo(p.x, p.y); }
    constexpr void OffsetBy(float dx, float dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    constexpr void InsetBy(float dx, float dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    constexpr bool IsValid() const { return left <= right && top <= bottom; }
    constexpr bool Contains(BPoint p) const
    {
        return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
    }

    friend constexpr bool operator==(const BRect&, const BRect&) = default;
};
