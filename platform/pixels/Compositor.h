// Inside the platform layer only: putting a primitive's coverage, or a
// bitmap, onto 32-bit target pixels through the view's clipping, drawing
// mode and pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/GraphicsDefs.h"
#include "platform/api/Rect.h"
#include "platform/pixels/Coverage.h"
#include "platform/pixels/PixelBuffer.h"

struct PaintTarget {
    PixelBuffer pixels;
    std::vector<clipping_rect> clip; // disjoint, inside the buffer
    int32_t originX = 0;             // the view's (0, 0) in target pixels: the pattern's phase
    int32_t originY = 0;

    // The clip's bounding box, the limit of every coverage mask.
    clipping_rect frame() const;
};

struct PaintStyle {
    rgb_color high;
    rgb_color low;
    drawing_mode mode;
    pattern stipple;
};

namespace compositor {

// A solid rectangle in copy, over or erase mode, row by row without a
// coverage mask (backgrounds, display boxes, offscreen pictures). False when
// the style needs the general path; nothing is drawn then.
bool fillSolid(const PaintTarget& target, const PaintStyle& style, clipping_rect rect);

// Copy and over put the high colour (blended by partial coverage: towards
// the low colour in copy, towards the destination in over), erase the low
// colour, invert flips red, green and blue of pixels at least half covered.
// The alpha byte becomes 255, except in invert, which keeps it.
void paint(const PaintTarget& target, const PaintStyle& style, const Coverage& coverage);

// Copies `source` pixels in `from` onto `to` (target pixels), scaling to the
// nearest pixel when the sizes differ. Pixels of `from` outside the source
// leave their destination alone. Over skips B_TRANSPARENT_32_BIT pixels,
// invert flips the destination under every other pixel.
void blit(const PaintTarget& target, drawing_mode mode, const PixelBuffer& source,
          clipping_rect from, clipping_rect to);

} // namespace compositor
