// Inside the platform layer only: the two real faces behind every font name,
// their metrics, and text as coverage.
//
// "Swis721 BT" Roman and Bold are drawn with Liberation Sans Regular and
// Bold, or DejaVu Sans Book and Bold when Liberation is missing, or
// fontconfig's sans-serif as a last resort. A size is pixels per em. Text is
// rendered once and for all with grey antialiasing, full hinting and hinted
// (whole-pixel) metrics, whatever the user's fontconfig settings: only the
// font file is taken from fontconfig.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/Rect.h"
#include "platform/pixels/Coverage.h"

namespace font_face {

enum class Weight { Regular, Bold };

struct Metrics {
    float ascent;
    float descent;
    float leading;
};

Metrics metrics(Weight weight, float size);
// The advance of the whole string (no kerning); invalid UTF-8 is measured with '?' in its place.
float width(Weight weight, float size, const char* text);
// The glyphs with their baseline origin at (x, y) in target pixels: the left
// edge of column x and the bottom edge of row y, so a letter standing on the
// baseline has its lowest row at y.
Coverage coverage(Weight weight, float size, const char* text, double x, double y,
                  clipping_rect limit);
// The family that really draws `weight`.
std::string family(Weight weight);

} // namespace font_face
