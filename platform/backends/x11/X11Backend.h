// The X11 back end: an editor's window as the one child of a Linux host's
// parent window, on a connection of its own (XCB), so that no X error ever
// reaches the host's handlers. Its pixels go to the server through MIT-SHM
// where the server offers it, plain put-image requests otherwise.
#pragma once

#include <cstdint>

class BWindow;

// handle: the parent X11 window id, as the editor opcode's pointer carries it.
// A running window of width x height inside it, or null (with one line on
// stderr) when there is no display, the parent is not a window, or the
// server's pixel layout is not one this back end draws.
BWindow* adoptX11Window(void* handle, int32_t width, int32_t height);

// The id of the window the last adoptX11Window call on this thread made, 0
// when that call made none: an LV2 UI hands it to its host as its widget.
uint32_t lastAdoptedX11Window();
