// BRegion: a set of pixels kept as disjoint inclusive integer rectangles,
// so that a clipped primitive touches each pixel at most once.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/Rect.h"

class BRegion {
public:
    BRegion() = default;
    explicit BRegion(BRect rect) { Set(rect); }
    explicit BRegion(clipping_rect rect) { Set(rect); }

    // Float edges name the pixels whose centres are nearest.
    void Set(BRect rect);
    void Set(clipping_rect rect);
    void MakeEmpty() { rects_.clear(); }
    void Include(BRect rect);
    void Include(clipping_rect rect);
    // Keeps only the pixels also inside `rect`.
    void IntersectWith(clipping_rect rect);
    void OffsetBy(int32_t dx, int32_t dy);

    int32_t CountRects() const { return static_cast<int32_t>(rects_.size()); }
    clipping_rect RectAtInt(int32_t index) const;
    BRect RectAt(int32_t index) const;
    // The bounding box; (0, 0, -1, -1) when empty.
    clipping_rect FrameInt() const;
    BRect Frame() const;
    bool Contains(int32_t x, int32_t y) const;
    bool Contains(BPoint point) const;

    const std::vector<clipping_rect>& rects() const { return rects_; }

private:
    std::vector<clipping_rect> rects_;
};
