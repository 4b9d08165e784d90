// Rasterising the shapes; polygons through Cairo without antialiasing,
// everything else by the integer rules in Shapes.h.
#include "platform/pixels/Shapes.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

namespace shapes {
namespace {

clipping_rect grown(clipping_rect r, int32_t by)
{
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

int32_t clampCoordinate(int32_t v)
{
    return std::clamp(v, -pr::kCoordinateLimit, pr::kCoordinateLimit);
}

void trace(Coverage& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t pen)
{
    if (x1 < x0 || (x1 == x0 && y1 < y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = -std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy;
    for (;;) {
        c.stamp(x0, y0, pen);
        if (x0 == x1 && y0 == y1)
            break;
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// A pixel whose centre lies strictly inside the ellipse of `r`'s pixel area.
// With W, H the pixel counts and D the doubled offsets from the centre, the
// test DX²/W² + DY²/H² < 1 needs no fractions.
bool insideEllipse(const clipping_rect& r, int32_t x, int32_t y)
{
    const double w = static_cast<double>(r.right) - r.left + 1;
    const double h = static_cast<double>(r.bottom) - r.top + 1;
    const double dx = 2.0 * x - r.left - r.right;
    const double dy = 2.0 * y - r.top - r.bottom;
    return dx * dx * h * h + dy * dy * w * w < w * w * h * h;
}

double normalised(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return d;
}

struct AngleRange {
    bool whole;
    double start;  // 0 .. 360
    double extent; // 0 .. 360, counted clockwise when `backwards`
    bool backwards;

    bool holds(const clipping_rect& r, int32_t x, int32_t y) const
    {
        if (whole)
            return true;
        const double px = x - (static_cast<double>(r.left) + r.right) / 2;
        const double py = (static_cast<double>(r.top) + r.bottom) / 2 - y;
        if (px == 0 && py == 0)
            return true;
        const double a = normalised(std::atan2(py, px) * (180.0 / M_PI));
        double d = normalised(backwards ? start - a : a - start);
        constexpr double kSlack = 1e-9; // the ray's own pixels count, despite rounding
        if (d > 360.0 - kSlack)
            d = 0;
        return d <= extent + kSlack;
    }
};

} // namespace

Coverage line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t pen, clipping_rect limit)
{
    x0 = clampCoordinate(x0);
    y0 = clampCoordinate(y0);
    x1 = clampCoordinate(x1);
    y1 = clampCoordinate(y1);
    const clipping_rect box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    Coverage c(pr::intersect(grown(box, pen), limit));
    if (!c.empty())
        trace(c, x0, y0, x1, y1, pen);
    return c;
}

Coverage filledRect(clipping_rect r, clipping_rect limit)
{
    Coverage c(pr::intersect(r, limit));
    c.fill(r);
    return c;
}

Coverage rectOutline(clipping_rect r, int32_t pen, clipping_rect limit)
{
    if (pr::isEmpty(r))
        return Coverage();
    Coverage c(pr::intersect(grown(r, pen), limit));
    if (c.empty())
        return c;
    // Each edge is a one-pixel rectangle; the pen's square widens it.
    const int32_t before = (pen - 1) / 2;
    const int32_t after = pen - 1 - before;
    const clipping_rect edges[4] = {{r.left, r.top, r.right, r.top},
                                    {r.left, r.bottom, r.right, r.bottom},
                                    {r.left, r.top, r.left, r.bottom},
                                    {r.right, r.top, r.right, r.bottom}};
    for (const clipping_rect& e : edges) {
        c.fill({e.left - before, e.top - before, e.right + after, e.bottom + after});
    }
    return c;
}

Coverage polygon(const std::vector<Vertex>& points, clipping_rect limit)
{
    if (points.empty())
        return Coverage();
    std::vector<std::pair<int32_t, int32_t>> corners;
    clipping_rect box{pr::kCoordinateLimit, pr::kCoordinateLimit, -pr::kCoordinateLimit,
                      -pr::kCoordinateLimit};
    for (const Vertex& v : points) {
        const int32_t x = pr::pixel(static_cast<float>(v.x));
        const int32_t y = pr::pixel(static_cast<float>(v.y));
        corners.emplace_back(x, y);
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
               std::max(box.bottom, y)};
    }
    Coverage c(pr::intersect(grown(box, 1), limit));
    if (c.empty())
        return c;

    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        c.cells(), CAIRO_FORMAT_A8, c.width(), c.height(), c.stride());
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // Pixel centres are at whole coordinates here and at halves in Cairo.
    const double ox = 0.5 - c.area().left;
    const double oy = 0.5 - c.area().top;
    for (const auto& [x, y] : corners)
        cairo_line_to(cr, x + ox, y + oy);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    c.markAllRows();

    for (size_t i = 0; i < corners.size(); ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % corners.size()];
        trace(c, a.first, a.second, b.first, b.second, 1);
    }
    return c;
}

Coverage arc(clipping_rect r, double startDegrees, double extentDegrees, bool filled, int32_t pen,
             clipping_rect limit)
{
    if (pr::isEmpty(r) || !std::isfinite(startDegrees) || !std::isfinite(extentDegrees)) {
        return Coverage();
    }
    r = {clampCoordinate(r.left), clampCoordinate(r.top), clampCoordinate(r.right),
         clampCoordinate(r.bottom)};
    const int32_t reach = filled ? 0 : pen;
    Coverage c(pr::intersect(grown(r, reach), limit));
    if (c.empty())
        return c;

    const AngleRange range{std::fabs(extentDegrees) >= 360.0, normalised(startDegrees),
                           std::fabs(extentDegrees), extentDegrees < 0};
    // Only pixels whose stamp can reach the mask are visited.
    const clipping_rect visit = pr::intersect(r, grown(c.area(), reach));
    for (int32_t y = visit.top; y <= visit.bottom; ++y) {
        for (int32_t x = visit.left; x <= visit.right; ++x) {
            if (!insideEllipse(r, x, y) || !range.holds(r, x, y))
                continue;
            if (filled) {
                c.set(x, y);
            } else if (!insideEllipse(r, x - 1, y) || !insideEllipse(r, x + 1, y) ||
                       !insideEllipse(r, x, y - 1) || !insideEllipse(r, x, y + 1)) {
                c.stamp(x, y, pen);
            }
        }
    }
    return c;
}

} // namespace shapes
