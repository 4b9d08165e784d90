// Inside the platform layer only: which pixels of a target one primitive
// covers, as one byte per pixel (0 none, 255 full, between for text edges)
// over a rectangle of target pixels. Building the whole set first is what
// makes invert touch each pixel once, however the shape's parts overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/Rect.h"

class Coverage {
public:
    Coverage() = default;
    // All zero over `area`; an empty area holds nothing.
    explicit Coverage(clipping_rect area);

    const clipping_rect& area() const { return area_; }
    bool empty() const { return cells_.empty(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Bytes per row, a multiple of 4 so that Cairo can draw into the cells.
    int32_t stride() const { return stride_; }
    uint8_t* cells() { return cells_.data(); }

    uint8_t at(int32_t x, int32_t y) const;
    // Points outside the area are ignored.
    void set(int32_t x, int32_t y, uint8_t value = 255);
    void fill(clipping_rect r);
    // A pen x pen square around (x, y): pen 1 is the pixel itself; the extra
    // pixel of an even pen goes right and down.
    void stamp(int32_t x, int32_t y, int32_t pen);
    // After drawing into cells() from outside: every row may hold anything.
    void markAllRows();
    // The columns of row y that may be non-zero; empty (left > right) when none.
    int32_t rowLeft(int32_t y) const { return rowLeft_[static_cast<size_t>(y - area_.top)]; }
    int32_t rowRight(int32_t y) const { return rowRight_[static_cast<size_t>(y - area_.top)]; }
    const uint8_t* row(int32_t y) const
    {
        return cells_.data() + static_cast<size_t>(y - area_.top) * static_cast<size_t>(stride_);
    }

private:
    clipping_rect area_{0, 0, -1, -1};
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    std::vector<uint8_t> cells_;
    // Per row, the span set() and fill() touched, so painting skips the rest.
    std::vector<int32_t> rowLeft_;
    std::vector<int32_t> rowRight_;
    void widen(int32_t y, int32_t left, int32_t right);
};
