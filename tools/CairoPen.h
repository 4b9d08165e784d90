// CairoPen: the small drawing helpers both artwork painters share: colours
// from 0xRRGGBB, gradients, rounded rectangles, and text placed by its
// advance in the unhinted font the pictures are drawn with.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace pen {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr const char* kFamily = "Liberation Sans";

enum class Align { left, centre, right };

void colour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void stop(cairo_pattern_t* p, double at, uint32_t rgb);
// The source becomes a top-to-bottom gradient between the two rows.
void verticalGradient(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom);
// Adds the outline as a new sub-path; fill or stroke it after.
void roundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r);
// Hinting off: glyph outlines and advances come from the font file alone,
// not from the build machine's fontconfig settings.
void font(cairo_t* cr, double size, bool bold);
// Draws s with its baseline at `baseline`, x being its left end, centre or
// right end; returns where its advance ends.
double text(cairo_t* cr, const char* s, double x, double baseline, Align align, uint32_t rgb);

} // namespace pen
