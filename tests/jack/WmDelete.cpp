// wm-delete WINDOW: asks the window (an id, as xwininfo prints it) to close
// the way a window manager does, with WM_DELETE_WINDOW in a WM_PROTOCOLS
// client message on $DISPLAY. Exit 1 with one line when it cannot.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}
} // namespace

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
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    close.type = atom(c, "WM_PROTOCOLS");
    close.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
    close.data.data32[1] = XCB_CURRENT_TIME;
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_send_event_checked(c, 0, close.window, XCB_EVENT_MASK_NO_EVENT,
                                                    reinterpret_cast<char*>(&close)));
    if (error) {
        std::fprintf(stderr, "wm-delete: %s: X error %d\n", argv[1], error->error_code);
        std::free(error);
        xcb_disconnect(c);
        return 1;
    }
    xcb_disconnect(c);
    return 0;
}
