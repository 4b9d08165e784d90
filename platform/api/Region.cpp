// BRegion: disjoint rectangles; Include cuts the new rectangle around the old ones.
#include "platform/api/Region.h"

#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

namespace {

// Appends the parts of `r` outside `cut` (at most four rectangles).
void subtract(const clipping_rect& r, const clipping_rect& cut, std::vector<clipping_rect>& out)
{
    const clipping_rect common = pr::intersect(r, cut);
    if (pr::isEmpty(common)) {
        out.push_back(r);
        return;
    }
    if (r.top < common.top)
        out.push_back({r.left, r.top, r.right, common.top - 1});
    if (common.bottom < r.bottom)
        out.push_back({r.left, common.bottom + 1, r.right, r.bottom});
    if (r.left < common.left)
        out.push_back({r.left, common.top, common.left - 1, common.bottom});
    if (common.right < r.right)
        out.push_back({common.right + 1, common.top, r.right, common.bottom});
}

} // namespace

void BRegion::Set(BRect rect)
{
    Set(pr::fromRect(rect));
}

void BRegion::Set(clipping_rect rect)
{
    rects_.clear();
    if (!pr::isEmpty(rect))
        rects_.push_back(rect);
}

void BRegion::Include(BRect rect)
{
    Include(pr::fromRect(rect));
}

void BRegion::Include(clipping_rect rect)
{
    if (pr::isEmpty(rect))
        return;
    std::vector<clipping_rect> pieces{rect};
    for (const clipping_rect& old : rects_) {
        std::vector<clipping_rect> left;
        for (const clipping_rect& p : pieces)
            subtract(p, old, left);
        pieces.swap(left);
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void BRegion::IntersectWith(clipping_rect rect)
{
    std::vector<clipping_rect> kept;
    for (const clipping_rect& r : rects_) {
        const clipping_rect common = pr::intersect(r, rect);
        if (!pr::isEmpty(common))
            kept.push_back(common);
    }
    rects_.swap(kept);
}

void BRegion::OffsetBy(int32_t dx, int32_t dy)
{
    for (clipping_rect& r : rects_)
        r = pr::offset(r, dx, dy);
}

clipping_rect BRegion::RectAtInt(int32_t index) const
{
    if (index < 0 || index >= CountRects())
        return pr::kNothing;
    return rects_[static_cast<size_t>(index)];
}

BRect BRegion::RectAt(int32_t index) const
{
    const clipping_rect r = RectAtInt(index);
    return {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
            static_cast<float>(r.bottom)};
}

clipping_rect BRegion::FrameInt() const
{
    if (rects_.empty())
        return pr::kNothing;
    clipping_rect f = rects_.front();
    for (const clipping_rect& r : rects_) {
        f = {std::min(f.left, r.left), std::min(f.top, r.top), std::max(f.right, r.right),
             std::max(f.bottom, r.bottom)};
    }
    return f;
}

BRect BRegion::Frame() const
{
    const clipping_rect f = FrameInt();
    return {static_cast<float>(f.left), static_cast<float>(f.top), static_cast<float>(f.right),
            static_cast<float>(f.bottom)};
}

bool BRegion::Contains(int32_t x, int32_t y) const
{
    for (const clipping_rect& r : rects_) {
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom)
            return true;
    }
    return false;
}

bool BRegion::Contains(BPoint point) const
{
    return Contains(pr::pixel(point.x), pr::pixel(point.y));
}
