// wm-delete WINDOW: asks the window (an id, as xwininfo prints it) to close
// the way a window manager does, with WM_DELETE_WINDOW in a WM_PROTOCOLS
// client message on $DISPLAY. Exit 1 with one line when it cannot.
#include <cstdio>
#include <cstdlib>

#include "WindowManagerClose.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: wm-delete WINDOW\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "wm-delete: cannot connect to $DISPLAY\n");
        return 1;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    if (xcb_generic_error_t* error = askToClose(c, window)) {
        std::fprintf(stderr, "wm-delete: %s: X error %d\n", argv[1], error->error_code);
        std::free(error);
        xcb_disconnect(c);
        return 1;
    }
    xcb_disconnect(c);
    return 0;
}
