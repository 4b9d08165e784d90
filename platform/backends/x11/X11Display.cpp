// Opening $DISPLAY for our programs' own connections.
#include "platform/backends/x11/X11Display.h"

#include <cstdlib>

xcb_screen_t* openDisplay(xcb_connection_t** c, std::string* display, std::string* whyNot)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        *whyNot = "no X display: DISPLAY is not set";
        return nullptr;
    }
    *display = name;
    int screenNumber = 0;
    *c = xcb_connect(name, &screenNumber);
    if (xcb_connection_has_error(*c)) {
        *whyNot = "cannot connect to X display " + *display;
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(*c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        *whyNot = "X display " + *display + " has no such screen";
        return nullptr;
    }
    return screens.data;
}
