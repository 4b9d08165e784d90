// Coverage: a byte mask over a rectangle of target pixels.
#include "platform/pixels/Coverage.h"

#include <algorithm>

#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

Coverage::Coverage(clipping_rect area)
{
    if (pr::isEmpty(area))
        return;
    area_ = area;
    width_ = area.right - area.left + 1;
    height_ = area.bottom - area.top + 1;
    stride_ = (width_ + 3) & ~3;
    cells_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_), 0);
    rowLeft_.assign(static_cast<size_t>(height_), area.right + 1);
    rowRight_.assign(static_cast<size_t>(height_), area.left - 1);
}

void Coverage::widen(int32_t y, int32_t left, int32_t right)
{
    const size_t i = static_cast<size_t>(y - area_.top);
    rowLeft_[i] = std::min(rowLeft_[i], left);
    rowRight_[i] = std::max(rowRight_[i], right);
}

void Coverage::markAllRows()
{
    std::fill(rowLeft_.begin(), rowLeft_.end(), area_.left);
    std::fill(rowRight_.begin(), rowRight_.end(), area_.right);
}

uint8_t Coverage::at(int32_t x, int32_t y) const
{
    if (x < area_.left || x > area_.right || y < area_.top || y > area_.bottom)
        return 0;
    return cells_[static_cast<size_t>(y - area_.top) * static_cast<size_t>(stride_) +
                  static_cast<size_t>(x - area_.left)];
}

void Coverage::set(int32_t x, int32_t y, uint8_t value)
{
    if (x < area_.left || x > area_.right || y < area_.top || y > area_.bottom)
        return;
    cells_[static_cast<size_t>(y - area_.top) * static_cast<size_t>(stride_) +
           static_cast<size_t>(x - area_.left)] = value;
    widen(y, x, x);
}

void Coverage::fill(clipping_rect r)
{
    r = pr::intersect(r, area_);
    if (pr::isEmpty(r))
        return;
    for (int32_t y = r.top; y <= r.bottom; ++y) {
        uint8_t* row =
            cells_.data() + static_cast<size_t>(y - area_.top) * static_cast<size_t>(stride_);
        std::fill(row + (r.left - area_.left), row + (r.right - area_.left) + 1, uint8_t{255});
        widen(y, r.left, r.right);
    }
}

void Coverage::stamp(int32_t x, int32_t y, int32_t pen)
{
    if (pen <= 1) {
        set(x, y);
        return;
    }
    const int32_t before = (pen - 1) / 2;
    fill({x - before, y - before, x - before + pen - 1, y - before + pen - 1});
}
