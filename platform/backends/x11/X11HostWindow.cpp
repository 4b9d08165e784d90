// X11HostWindow: the top-level window on its own XCB connection, its names
// and hints, the close request and the Ctrl+Q grab, and the focus passed on
// to the plug-in's child.
#include "platform/backends/x11/X11HostWindow.h"

#include "platform/backends/x11/X11Display.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/api/Utf8.h"
#include <X11/keysym.h>

namespace {

// UTF-8 as Latin-1 for WM_NAME; what Latin-1 lacks becomes '?'.
std::string latin1Of(std::string_view utf8)
{
    std::string out;
    while (!utf8.empty()) {
        const utf8::Character c = utf8::decode(utf8);
        out += c.point <= 0xFF ? static_cast<char>(c.point) : '?';
        utf8.remove_prefix(static_cast<size_t>(c.length));
    }
    return out;
}

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

} // namespace

struct X11HostWindow::Connection {
    ~Connection()
    {
        if (keys != nullptr)
            xcb_key_symbols_free(keys);
        if (c == nullptr)
            return;
        if (window != 0 && !destroyed && !xcb_connection_has_error(c)) {
            xcb_destroy_window(c, window);
            xcb_flush(c);
        }
        xcb_disconnect(c);
    }

    xcb_atom_t atom(const char* name)
    {
        Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // Ctrl+Q in the window or any window inside it comes to us, whatever
    // Caps Lock and Num Lock are.
    void grabQuit(bool grab)
    {
        for (const uint32_t locks : {0u, uint32_t{XCB_MOD_MASK_LOCK}, uint32_t{XCB_MOD_MASK_2},
                                     uint32_t{XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2}}) {
            const auto mods = static_cast<uint16_t>(XCB_MOD_MASK_CONTROL | locks);
            if (grab)
                xcb_grab_key(c, 1, window, mods, quitCode, XCB_GRAB_MODE_ASYNC,
                             XCB_GRAB_MODE_ASYNC);
            else
                xcb_ungrab_key(c, quitCode, window, mods);
        }
    }

    void findQuitKey()
    {
        if (quitCode != 0)
            grabQuit(false);
        quitCode = 0;
        Reply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(keys, XK_q));
        if (codes && codes.get()[0] != XCB_NO_SYMBOL)
            quitCode = codes.get()[0];
        if (quitCode != 0)
            grabQuit(true);
    }

    void handle(xcb_generic_event_t* e)
    {
        switch (e->response_type & 0x7F) {
        case XCB_CLIENT_MESSAGE: {
            const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
            if (m->type == protocols && m->format == 32 && m->data.data32[0] == deleteWindow)
                closing = true;
            break;
        }
        case XCB_KEY_PRESS: {
            // Only our grab sends keys here: Ctrl+Q anywhere in the window.
            const auto* k = reinterpret_cast<xcb_key_press_event_t*>(e);
            closing = closing || (k->detail == quitCode && (k->state & XCB_MOD_MASK_CONTROL) != 0);
            break;
        }
        case XCB_DESTROY_NOTIFY:
            // Someone else destroyed the window (xkill, xdotool windowclose).
            if (reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window == window)
                closing = destroyed = true;
            break;
        case XCB_MAP_NOTIFY:
            mapped = mapped || reinterpret_cast<xcb_map_notify_event_t*>(e)->window == window;
            break;
        case XCB_FOCUS_IN: {
            // The window manager focused our frame: the keys belong to the
            // plug-in's window inside it.
            const auto* f = reinterpret_cast<xcb_focus_in_event_t*>(e);
            if (f->event == window && f->detail != XCB_NOTIFY_DETAIL_INFERIOR)
                wantFocus = true;
            break;
        }
        case XCB_MAPPING_NOTIFY:
            if (xcb_refresh_keyboard_mapping(keys,
                                             reinterpret_cast<xcb_mapping_notify_event_t*>(e)) == 1)
                findQuitKey();
            break;
        default: break; // errors of requests we do not check, other events
        }
    }

    bool drain()
    {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            handle(e);
            std::free(e);
        }
        return !xcb_connection_has_error(c);
    }

    // Until something arrives. Sending may already have read events into
    // XCB's queue, where the socket no longer shows them.
    void wait(bigtime_t timeout)
    {
        xcb_flush(c);
        if (xcb_generic_event_t* e = xcb_poll_for_queued_event(c)) {
            handle(e);
            std::free(e);
            return;
        }
        pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>((timeout + 999) / 1000));
    }

    xcb_connection_t* c = nullptr;
    xcb_key_symbols_t* keys = nullptr;
    xcb_window_t window = 0;
    std::string display;
    xcb_atom_t protocols = 0, deleteWindow = 0;
    xcb_keycode_t quitCode = 0;
    bool closing = false, mapped = false, wantFocus = false, destroyed = false;
};

X11HostWindow::X11HostWindow(std::unique_ptr<Connection> connection) : x(std::move(connection)) {}

X11HostWindow::~X11HostWindow() = default;

std::unique_ptr<X11HostWindow> X11HostWindow::open(const Names& names, int32_t width,
                                                   int32_t height, bigtime_t timeout,
                                                   std::string* whyNot)
{
    auto x = std::make_unique<Connection>();
    const xcb_screen_t* screen = openDisplay(&x->c, &x->display, whyNot);
    if (screen == nullptr)
        return nullptr;

    x->window = xcb_generate_id(x->c);
    const uint32_t values[] = {screen->black_pixel,
                               XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(x->c, XCB_COPY_FROM_PARENT, x->window, screen->root, 0, 0,
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    const std::string latin1 = latin1Of(names.title);
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, static_cast<uint32_t>(latin1.size()), latin1.data());
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, x->atom("_NET_WM_NAME"),
                        x->atom("UTF8_STRING"), 8, static_cast<uint32_t>(names.title.size()),
                        names.title.data());
    // WM_CLASS: the instance and the class, each ended by a zero byte.
    std::string instance = names.instance.empty() ? program_invocation_short_name : names.instance;
    std::string className = names.className.empty() ? instance : names.className;
    if (names.className.empty() && !className.empty())
        className[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(className[0])));
    const std::string wmClass = instance + '\0' + className + '\0';
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                        8, static_cast<uint32_t>(wmClass.size()), wmClass.data());
    x->protocols = x->atom("WM_PROTOCOLS");
    x->deleteWindow = x->atom("WM_DELETE_WINDOW");
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, x->protocols, XCB_ATOM_ATOM, 32, 1,
                        &x->deleteWindow);
    // WM_NORMAL_HINTS: program-specified minimum and maximum size, the same.
    constexpr uint32_t kMinSize = 1u << 4, kMaxSize = 1u << 5;
    const auto w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height);
    const uint32_t hints[18] = {kMinSize | kMaxSize, 0, 0, 0, 0, w, h, w, h};
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);

    x->keys = xcb_key_symbols_alloc(x->c);
    x->findQuitKey();

    xcb_map_window(x->c, x->window);
    const bigtime_t end = system_time() + timeout;
    while (x->drain() && !x->mapped) {
        const bigtime_t now = system_time();
        if (now >= end)
            break;
        x->wait(end - now);
    }
    if (!x->mapped) {
        *whyNot = xcb_connection_has_error(x->c)
                      ? "the connection to X display " + x->display + " failed"
                      : "X display " + x->display + " did not show the window";
        return nullptr;
    }
    return std::unique_ptr<X11HostWindow>(new X11HostWindow(std::move(x)));
}

uint32_t X11HostWindow::id() const
{
    return x->window;
}

const std::string& X11HostWindow::displayName() const
{
    return x->display;
}

uint32_t X11HostWindow::child()
{
    if (x->destroyed)
        return 0;
    Reply<xcb_query_tree_reply_t> r(
        xcb_query_tree_reply(x->c, xcb_query_tree(x->c, x->window), nullptr));
    if (!r || xcb_query_tree_children_length(r.get()) == 0)
        return 0;
    return xcb_query_tree_children(r.get())[0];
}

bool X11HostWindow::childShown()
{
    const uint32_t inside = child();
    if (inside == 0)
        return false;
    Reply<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(x->c, xcb_get_window_attributes(x->c, inside), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

void X11HostWindow::focusChild()
{
    x->wantFocus = false;
    if (const uint32_t inside = child())
        xcb_set_input_focus(x->c, XCB_INPUT_FOCUS_PARENT, inside, XCB_CURRENT_TIME);
    xcb_flush(x->c);
}

bool X11HostWindow::closeRequested(bigtime_t timeout)
{
    // Other events (an unmap before the destroy, focus, properties) may wake
    // the wait first: keep waiting for a close until the time is up.
    const bigtime_t deadline = system_time() + timeout;
    for (;;) {
        if (!x->drain())
            return true;
        if (x->wantFocus && !x->closing)
            focusChild();
        if (x->closing)
            return true;
        const bigtime_t left = deadline - system_time();
        if (left <= 0)
            return false;
        x->wait(left);
    }
}
