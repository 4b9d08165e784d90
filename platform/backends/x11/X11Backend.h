// The X11 back end: an editor's window as the one child of a Linux host's
// parent window, on its own XCB connection.
#pragma once

#include <cstdint>

class BWindow;

// handle: the parent X11 window id, as the editor opcode's pointer carries it.
// Null when there is no display, the parent is not a window, or the server
// cannot show our pixels.
BWindow* adoptX11Window(void* handle, int32_t width, int32_t height);
