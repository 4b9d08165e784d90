// Inside the platform layer only: the pixel sets of lines, rectangles,
// polygons and arcs, in target pixels, each cut to `limit` (the clip's frame).
//
// The pixel rules:
// - A line covers Bresenham's pixels from its left end (its top end when
//   vertical) to the other, both ends included: one pixel per column when it
//   is wider than tall, one per row otherwise, so a 45-degree line is an exact
//   staircase and a line drawn backwards covers the same pixels.
// - A pen of size p stamps a p x p square on every pixel of the one-pixel
//   path, centred, with the extra pixel of an even p to the right and below.
// - Rectangles are inclusive; an outline passes through all four edges.
// - A polygon covers the pixels whose centres lie inside it (non-zero
//   winding) plus every pixel its edges pass through as lines.
// - An ellipse is inscribed in the pixel area of an inclusive rectangle: it
//   covers the pixels whose centres lie strictly inside the ellipse through
//   the middles of the rectangle's outer pixel edges. Its outline is the set
//   of those pixels with a 4-neighbour outside. Arcs keep the pixels whose
//   centre, seen from the ellipse's centre, lies at an angle within the arc:
//   degrees counter-clockwise from three o'clock, upwards positive, the
//   geometric angle rather than the ellipse's parameter.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/Rect.h"
#include "platform/pixels/Coverage.h"

namespace shapes {

struct Vertex {
    double x;
    double y;
};

Coverage line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t pen, clipping_rect limit);
Coverage filledRect(clipping_rect r, clipping_rect limit);
Coverage rectOutline(clipping_rect r, int32_t pen, clipping_rect limit);
Coverage polygon(const std::vector<Vertex>& points, clipping_rect limit);
// `extent` may be negative (clockwise); 360 or more in size is the whole ellipse.
Coverage arc(clipping_rect r, double startDegrees, double extentDegrees, bool filled, int32_t pen,
             clipping_rect limit);

} // namespace shapes
