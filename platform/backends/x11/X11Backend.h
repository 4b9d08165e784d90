// The X11 back end: an editor's window as the one child of a Linux host's
// parent window, on a connection of its own (XCB), so that no X error ever
// reaches the host's handlers. Its pixels go to the server through MIT-SHM
// where the server offers it, plain put-image requests otherwise; at a scale
// above 1 each editor pixel is shown as a block (nearest neighbour).
#pragma once

#include <cstdint>

#include "platform/api/WindowAdopter.h"

class BWindow;

// handle: the parent X11 window id, as the editor opcode's pointer carries it.
// A running window of width x height editor pixels, shown scale times as
// large, inside it; or null (with one line on stderr) when there is no
// display, the parent is not a window, or the server's pixel layout is not
// one this back end draws.
BWindow* adoptX11Window(void* handle, int32_t width, int32_t height, int32_t scale);

// The scale of editors on $DISPLAY: `asked` when it is 1 to 4, else the
// program's (editor_scale::kProgramVariable), GDK_SCALE, the server's
// Xft.dpi, else 1 (EditorScale.h).
int32_t chooseX11Scale(int32_t asked);

// The adopter of X11 windows at the chosen scale; `asked`: what a host said
// (LV2's ui:scaleFactor through editor_scale::fromFactor) or a program's
// --scale, 0 for nothing.
constexpr WindowAdopter x11WindowAdopter(int32_t asked = 0)
{
    return {adoptX11Window, chooseX11Scale, asked};
}
