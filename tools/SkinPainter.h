// Draws the four skin pictures with Cairo onto image surfaces the caller
// made at the sizes of SkinLayout.h. Text uses Cairo's toy font API with
// hinting off, so a picture depends only on Cairo and the font files.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace skin {

// The well colour under the kick button: the background and the button
// picture both fill it flat, and both palettes keep it exactly, so the
// opaque button meets the panel without a seam.
inline constexpr uint32_t kKickWellRgb = 0x101114;

void paintBackground(cairo_t* cr);
// Fader caps filling their whole picture: sliders draw them with white as
// the see-through colour, so no pixel may be pure white.
void paintHandle(cairo_t* cr, int width, uint32_t indicatorRgb);
// One 44 x 38 picture of the kick button at the origin, released or pressed.
void paintKick(cairo_t* cr, bool pressed);

} // namespace skin
