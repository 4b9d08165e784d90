// Painting coverage and copying bitmaps, pixel by pixel, one clip rectangle at a time.
#include "platform/pixels/Compositor.h"

#include <algorithm>
#include <cstring>

#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

clipping_rect PaintTarget::frame() const
{
    if (clip.empty())
        return pr::kNothing;
    clipping_rect f = clip.front();
    for (const clipping_rect& r : clip) {
        f = {std::min(f.left, r.left), std::min(f.top, r.top), std::max(f.right, r.right),
             std::max(f.bottom, r.bottom)};
    }
    return f;
}

namespace compositor {
namespace {

uint8_t mix(uint8_t from, uint8_t to, uint32_t amount)
{
    return static_cast<uint8_t>((from * (255u - amount) + to * amount + 127u) / 255u);
}

void put(uint8_t* px, rgb_color c)
{
    px[0] = c.blue;
    px[1] = c.green;
    px[2] = c.red;
    px[3] = 255;
}

void invert(uint8_t* px)
{
    px[0] = static_cast<uint8_t>(255 - px[0]);
    px[1] = static_cast<uint8_t>(255 - px[1]);
    px[2] = static_cast<uint8_t>(255 - px[2]);
}

void apply(uint8_t* px, const PaintStyle& s, uint8_t amount)
{
    switch (s.mode) {
    case B_OP_INVERT:
        if (amount >= 128)
            invert(px);
        return;
    case B_OP_ERASE:
        if (amount == 255) {
            put(px, s.low);
        } else {
            put(px, {mix(px[2], s.low.red, amount), mix(px[1], s.low.green, amount),
                     mix(px[0], s.low.blue, amount), 255});
        }
        return;
    case B_OP_OVER:
        if (amount == 255) {
            put(px, s.high);
        } else {
            put(px, {mix(px[2], s.high.red, amount), mix(px[1], s.high.green, amount),
                     mix(px[0], s.high.blue, amount), 255});
        }
        return;
    case B_OP_COPY:
    default:
        put(px, amount == 255 ? s.high
                              : rgb_color{mix(s.low.red, s.high.red, amount),
                                          mix(s.low.green, s.high.green, amount),
                                          mix(s.low.blue, s.high.blue, amount), 255});
        return;
    }
}

} // namespace

void paint(const PaintTarget& target, const PaintStyle& style, const Coverage& coverage)
{
    if (coverage.empty() || !target.pixels.valid())
        return;
    // Solid colour, fully covered: the common case, one word per pixel.
    const bool plain =
        style.mode == B_OP_COPY || style.mode == B_OP_OVER || style.mode == B_OP_ERASE;
    const rgb_color ink = style.mode == B_OP_ERASE ? style.low : style.high;
    const uint8_t word[4] = {ink.blue, ink.green, ink.red, 255};
    for (const clipping_rect& c : target.clip) {
        const clipping_rect r = pr::intersect(c, coverage.area());
        for (int32_t y = r.top; y <= r.bottom; ++y) {
            const int32_t left = std::max(r.left, coverage.rowLeft(y));
            const int32_t right = std::min(r.right, coverage.rowRight(y));
            if (left > right)
                continue;
            const uint8_t* cells = coverage.row(y) - coverage.area().left;
            const uint8_t stipple =
                style.stipple.data[static_cast<uint32_t>(y - target.originY) & 7u];
            uint8_t* px = target.pixels.at(left, y);
            for (int32_t x = left; x <= right; ++x, px += 4) {
                const uint8_t amount = cells[x];
                if (amount == 0)
                    continue;
                if (stipple != 0xFF &&
                    !((stipple >> (7u - (static_cast<uint32_t>(x - target.originX) & 7u))) & 1u)) {
                    continue;
                }
                if (plain && amount == 255) {
                    std::memcpy(px, word, 4);
                } else {
                    apply(px, style, amount);
                }
            }
        }
    }
}

bool fillSolid(const PaintTarget& target, const PaintStyle& style, clipping_rect rect)
{
    const bool plain =
        style.mode == B_OP_COPY || style.mode == B_OP_OVER || style.mode == B_OP_ERASE;
    if (!plain)
        return false;
    for (uint8_t row : style.stipple.data)
        if (row != 0xFF)
            return false;
    if (pr::isEmpty(rect) || !target.pixels.valid())
        return true;
    const rgb_color ink = style.mode == B_OP_ERASE ? style.low : style.high;
    const uint8_t word[4] = {ink.blue, ink.green, ink.red, 255};
    for (const clipping_rect& c : target.clip) {
        const clipping_rect r = pr::intersect(c, rect);
        if (pr::isEmpty(r))
            continue;
        for (int32_t y = r.top; y <= r.bottom; ++y) {
            uint8_t* px = target.pixels.at(r.left, y);
            for (int32_t x = r.left; x <= r.right; ++x, px += 4)
                std::memcpy(px, word, 4);
        }
    }
    return true;
}

// The common case of every skin and control picture: no scaling, so each
// row is one span of the source, copied whole or word by word past the
// transparent marker.
static void copyUnscaled(const PaintTarget& target, bool over, const PixelBuffer& source,
                         clipping_rect from, clipping_rect to)
{
    const int64_t dx = int64_t{from.left} - to.left;
    const int64_t dy = int64_t{from.top} - to.top;
    for (const clipping_rect& c : target.clip) {
        clipping_rect r = pr::intersect(c, to);
        if (pr::isEmpty(r))
            continue;
        // Only the part whose source lies inside the picture is drawn.
        const int64_t left = std::max<int64_t>(r.left, -dx);
        const int64_t right = std::min<int64_t>(r.right, source.width - 1 - dx);
        const int64_t top = std::max<int64_t>(r.top, -dy);
        const int64_t bottom = std::min<int64_t>(r.bottom, source.height - 1 - dy);
        if (left > right || top > bottom)
            continue;
        const auto count = static_cast<size_t>(right - left + 1);
        for (int64_t y = top; y <= bottom; ++y) {
            const uint8_t* s =
                source.at(static_cast<int32_t>(left + dx), static_cast<int32_t>(y + dy));
            uint8_t* d = target.pixels.at(static_cast<int32_t>(left), static_cast<int32_t>(y));
            if (!over) {
                std::memcpy(d, s, count * 4);
                continue;
            }
            for (size_t i = 0; i < count; ++i) {
                uint32_t word;
                std::memcpy(&word, s + 4 * i, 4);
                if (word != B_TRANSPARENT_32_BIT)
                    std::memcpy(d + 4 * i, &word, 4);
            }
        }
    }
}

void blit(const PaintTarget& target, drawing_mode mode, const PixelBuffer& source,
          clipping_rect from, clipping_rect to)
{
    if (!source.valid() || !target.pixels.valid() || pr::isEmpty(from) || pr::isEmpty(to))
        return;
    const int64_t fromWidth = int64_t{from.right} - from.left + 1;
    const int64_t fromHeight = int64_t{from.bottom} - from.top + 1;
    const int64_t toWidth = int64_t{to.right} - to.left + 1;
    const int64_t toHeight = int64_t{to.bottom} - to.top + 1;
    if (fromWidth == toWidth && fromHeight == toHeight && mode != B_OP_INVERT) {
        copyUnscaled(target, mode == B_OP_OVER, source, from, to);
        return;
    }
    for (const clipping_rect& c : target.clip) {
        const clipping_rect r = pr::intersect(c, to);
        for (int32_t y = r.top; y <= r.bottom; ++y) {
            const int64_t sy = from.top + (y - to.top) * fromHeight / toHeight;
            if (sy < 0 || sy >= source.height)
                continue;
            for (int32_t x = r.left; x <= r.right; ++x) {
                const int64_t sx = from.left + (x - to.left) * fromWidth / toWidth;
                if (sx < 0 || sx >= source.width)
                    continue;
                const uint8_t* s = source.at(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
                uint8_t* d = target.pixels.at(x, y);
                uint32_t word;
                std::memcpy(&word, s, 4);
                if (mode == B_OP_OVER && word == B_TRANSPARENT_32_BIT)
                    continue;
                if (mode == B_OP_INVERT) {
                    if (word != B_TRANSPARENT_32_BIT)
                        invert(d);
                    continue;
                }
                std::memcpy(d, s, 4);
            }
        }
    }
}

} // namespace compositor
