// Draws the gallery's pictures with Cairo. Each control painter draws one
// image of its strip at the origin, in the control's own pixels, over a
// copy of the background the caller has already put there; the artwork tool
// stacks the images. Text uses Cairo's toy font API with hinting off, as the
// skin does, so a picture depends only on Cairo and the font files.
#pragma once

#include <cairo.h>

namespace gallery_art {

// The whole 640 x 420 panel: title, cells, labels, captions, slider wells,
// meter and digit windows, the about button, and where the animation hides
// its dim resting look; without that look, for the control pictures cut
// from it.
void paintBackground(cairo_t* cr, bool hiddenAnimation);

// Handles cover their whole picture: sliders draw them with white as the
// see-through colour, so no pixel of theirs may be pure white.
void paintVerticalHandle(cairo_t* cr);
void paintHorizontalHandle(cairo_t* cr);
// The knob's handle is a disc; the corners around it are pure white, which
// the knob draws see-through.
void paintKnobHandle(cairo_t* cr);

// Over the background's copy, image `index` of each strip.
void paintKnobBase(cairo_t* cr);
void paintAnimKnob(cairo_t* cr, int index);    // 0 ... kAnimKnobFrames - 1
void paintKick(cairo_t* cr, int index);        // released, pressed
void paintOnOff(cairo_t* cr, int index);       // off, on
void paintVSwitch(cairo_t* cr, int index);     // position 0 at the top
void paintHSwitch(cairo_t* cr, int index);     // position 0 at the left
void paintRocker(cairo_t* cr, int index);      // -1, 0, +1
void paintMovie(cairo_t* cr, int index);       // 0 ... kMovieFrames - 1
void paintMovieButton(cairo_t* cr, int index); // off, on
void paintAnimation(cairo_t* cr, int index);   // 0 ... kAnimationFrames - 1
void paintMeter(cairo_t* cr, bool lit);

// Pictures of their own, with no background under them.
void paintDigit(cairo_t* cr, int digit); // one kDigitWidth x kDigitHeight digit
void paintSplash(cairo_t* cr);
void paintMenu(cairo_t* cr, bool pressed);

} // namespace gallery_art
