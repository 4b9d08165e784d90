// A Canvas read as the toolkit sees colours: each pixel as a CColor, whose
// fourth byte is data and comes back 0.
#pragma once

#include "gui/CColor.h"
#include "tests/support/Canvas.h"

inline CColor colourAt(const Canvas& canvas, int x, int y)
{
    const rgb_color c = canvas.at(x, y);
    return CColor{c.red, c.green, c.blue, 0};
}
