// Opening $DISPLAY for our programs' own connections (the top-level window,
// the scripted input driver): one place for the refusals a user reads.
#pragma once

#include <xcb/xcb.h>

#include <string>

// Connects to $DISPLAY into *c (the caller disconnects it, also on failure)
// and names the display in *display. The display's default screen, or null
// with one line in *whyNot when there is no display, no connection or no
// such screen.
xcb_screen_t* openDisplay(xcb_connection_t** c, std::string* display, std::string* whyNot);
