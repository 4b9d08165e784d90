// What a window manager sends to close a window: WM_DELETE_WINDOW in a
// WM_PROTOCOLS client message. Shared by the window tests and wm-delete.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

// The atom's id, or XCB_ATOM_NONE when the server does not answer.
inline xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}

// Sends the close request to `window` and waits for the server's verdict:
// null, or the X error (the caller frees it).
inline xcb_generic_error_t* askToClose(xcb_connection_t* c, xcb_window_t window)
{
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = window;
    close.type = internAtom(c, "WM_PROTOCOLS");
    close.data.data32[0] = internAtom(c, "WM_DELETE_WINDOW");
    close.data.data32[1] = XCB_CURRENT_TIME;
    return xcb_request_check(c, xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                       reinterpret_cast<const char*>(&close)));
}
