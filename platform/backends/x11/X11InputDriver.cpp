// X11InputDriver: XTest input on a connection of its own, the keysym to
// keycode lookup, pop-ups found on the screen, and pictures read back.
#include "platform/backends/x11/X11InputDriver.h"

#include "platform/backends/x11/X11Display.h"

#include <cairo.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/OS.h"
#include "platform/backends/x11/X11Keys.h"

namespace {

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

} // namespace

struct X11InputDriver::Connection {
    ~Connection()
    {
        if (keys != nullptr)
            xcb_key_symbols_free(keys);
        if (c == nullptr)
            return;
        if (!xcb_connection_has_error(c)) {
            // Nothing stays held on the server once we are gone.
            setInput(0, 0);
            xcb_flush(c);
        }
        xcb_disconnect(c);
    }

    uint32_t inside();

    // The key that types `keysym`, and whether it needs shift; 0 for none.
    // Keys without shift first, so a letter is typed without it.
    xcb_keycode_t keycodeOf(xcb_keysym_t keysym, bool* shift) const
    {
        const xcb_setup_t* setup = xcb_get_setup(c);
        for (int column = 0; column < 2; ++column)
            for (int code = setup->min_keycode; code <= setup->max_keycode; ++code)
                if (xcb_key_symbols_get_keysym(keys, static_cast<xcb_keycode_t>(code), column) ==
                    keysym) {
                    *shift = column == 1;
                    return static_cast<xcb_keycode_t>(code);
                }
        return 0;
    }

    // One event, handled by the server before the next is sent: events
    // sent in one go can get lost (a key pressed and released at once
    // while a passive grab of ours activates is never reported).
    void fake(uint8_t type, uint8_t detail, int16_t x = 0, int16_t y = 0)
    {
        const xcb_window_t where = type == XCB_MOTION_NOTIFY ? root : xcb_window_t{0};
        xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, where, x, y, 0);
        Reply<xcb_get_input_focus_reply_t> r(
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }

    void modifierKeys(uint32_t wanted, bool down)
    {
        for (const x11keys::Modifier& m : x11keys::kModifiers) {
            if ((wanted & m.bit) == 0 || ((heldKeys & m.bit) != 0) == down)
                continue;
            bool shift = false;
            const xcb_keycode_t code = keycodeOf(m.key, &shift);
            if (code == 0)
                continue;
            fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code);
            heldKeys = down ? heldKeys | m.bit : heldKeys & ~m.bit;
        }
    }

    // Keys down first, then the buttons, then keys up: a click with a
    // modifier has the key held around both button events.
    void setInput(uint32_t buttons, uint32_t keys)
    {
        modifierKeys(keys, true);
        for (const x11keys::Button& b : x11keys::kButtons)
            if (((buttons ^ heldButtons) & b.bit) != 0)
                fake((buttons & b.bit) != 0 ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, b.button);
        heldButtons = buttons;
        modifierKeys(heldKeys & ~keys, false);
    }

    // Reads what came (a changed keyboard); the events of our requests'
    // errors need no answer.
    void drain()
    {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7F) == XCB_MAPPING_NOTIFY)
                xcb_refresh_keyboard_mapping(keys,
                                             reinterpret_cast<xcb_mapping_notify_event_t*>(e));
            std::free(e);
        }
    }

    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0, window = 0;
    std::string display;
    xcb_key_symbols_t* keys = nullptr;
    uint32_t heldButtons = 0, heldKeys = 0;
};

X11InputDriver::X11InputDriver(std::unique_ptr<Connection> connection) : x(std::move(connection)) {}

X11InputDriver::~X11InputDriver() = default;

std::unique_ptr<X11InputDriver> X11InputDriver::open(uint32_t window, std::string* whyNot)
{
    auto x = std::make_unique<Connection>();
    const xcb_screen_t* screen = openDisplay(&x->c, &x->display, whyNot);
    if (screen == nullptr)
        return nullptr;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(x->c, &xcb_test_id);
    if (xtest == nullptr || !xtest->present) {
        *whyNot = "X display " + x->display + " has no XTEST extension for scripted input";
        return nullptr;
    }
    x->root = screen->root;
    x->window = window;
    x->keys = xcb_key_symbols_alloc(x->c);
    return std::unique_ptr<X11InputDriver>(new X11InputDriver(std::move(x)));
}

const std::string& X11InputDriver::displayName() const
{
    return x->display;
}

// The window's first child, or the window while it has none.
uint32_t X11InputDriver::Connection::inside()
{
    Reply<xcb_query_tree_reply_t> r(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!r || xcb_query_tree_children_length(r.get()) == 0)
        return window;
    return xcb_query_tree_children(r.get())[0];
}

bool X11InputDriver::setPointer(int32_t px, int32_t py, uint32_t buttons, uint32_t modifierKeys)
{
    // Where the window is now: a window manager may have moved it.
    Reply<xcb_translate_coordinates_reply_t> r(xcb_translate_coordinates_reply(
        x->c,
        xcb_translate_coordinates(x->c, x->window, x->root, static_cast<int16_t>(px),
                                  static_cast<int16_t>(py)),
        nullptr));
    return r && setScreenPointer(r->dst_x, r->dst_y, buttons, modifierKeys);
}

bool X11InputDriver::setScreenPointer(int32_t px, int32_t py, uint32_t buttons,
                                      uint32_t modifierKeys)
{
    x->drain();
    x->fake(XCB_MOTION_NOTIFY, 0, static_cast<int16_t>(px), static_cast<int16_t>(py));
    x->setInput(buttons, modifierKeys);
    return xcb_flush(x->c) > 0;
}

bool X11InputDriver::topPopup(Popup* out)
{
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x->c, xcb_query_tree(x->c, x->root), nullptr));
    if (!tree)
        return false;
    const xcb_window_t* windows = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> asked;
    for (int i = 0; i < count; ++i)
        asked.push_back(xcb_get_window_attributes(x->c, windows[i]));
    xcb_window_t found = 0;
    // Every reply is taken, so none is left behind; the last match is on top.
    for (int i = 0; i < count; ++i) {
        Reply<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(x->c, asked[static_cast<size_t>(i)], nullptr));
        if (a && a->override_redirect && a->map_state == XCB_MAP_STATE_VIEWABLE &&
            windows[i] != x->window)
            found = windows[i];
    }
    if (found == 0)
        return false;
    Reply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(x->c, xcb_get_geometry(x->c, found), nullptr));
    if (!g)
        return false;
    *out = Popup{found, g->x + g->border_width, g->y + g->border_width, g->width, g->height};
    return true;
}

bool X11InputDriver::pointOutside(const Popup& popup, int32_t* px, int32_t* py)
{
    Reply<xcb_get_geometry_reply_t> screen(
        xcb_get_geometry_reply(x->c, xcb_get_geometry(x->c, x->root), nullptr));
    Reply<xcb_get_geometry_reply_t> ours(
        xcb_get_geometry_reply(x->c, xcb_get_geometry(x->c, x->window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
        x->c, xcb_translate_coordinates(x->c, x->window, x->root, 0, 0), nullptr));
    if (!screen || !ours || !at)
        return false;
    auto inside = [](int32_t cx, int32_t cy, int32_t left, int32_t top, int32_t w, int32_t h) {
        return cx >= left - 1 && cy >= top - 1 && cx <= left + w && cy <= top + h;
    };
    const int32_t right = screen->width - 1, bottom = screen->height - 1;
    for (const auto& [cx, cy] :
         {std::pair{right, bottom}, std::pair{0, bottom}, std::pair{right, 0}, std::pair{0, 0}})
        if (!inside(cx, cy, at->dst_x, at->dst_y, ours->width, ours->height) &&
            !inside(cx, cy, popup.x, popup.y, popup.width, popup.height)) {
            *px = cx;
            *py = cy;
            return true;
        }
    return false;
}

bool X11InputDriver::key(const char* bytes, int32_t length, uint32_t modifierKeys,
                         std::string* whyNot)
{
    x->drain();
    const xcb_keysym_t keysym = length > 0 ? x11keys::keyOf(bytes, length) : 0;
    bool shift = false;
    const xcb_keycode_t code = keysym != 0 ? x->keycodeOf(keysym, &shift) : 0;
    if (code == 0) {
        *whyNot = "no key of X display " + x->display + "'s keyboard types '" +
                  std::string(bytes, static_cast<size_t>(std::max(length, 0))) + "'";
        return false;
    }
    const uint32_t before = x->heldKeys;
    x->setInput(x->heldButtons, before | modifierKeys | (shift ? B_SHIFT_KEY : 0));
    x->fake(XCB_KEY_PRESS, code);
    x->fake(XCB_KEY_RELEASE, code);
    x->setInput(x->heldButtons, before);
    return xcb_flush(x->c) > 0;
}

bool X11InputDriver::sync()
{
    Reply<xcb_get_input_focus_reply_t> r(
        xcb_get_input_focus_reply(x->c, xcb_get_input_focus(x->c), nullptr));
    return r != nullptr;
}

bool X11InputDriver::copyPixels(std::vector<uint8_t>* out, int32_t* width, int32_t* height)
{
    return copyPixelsOf(x->inside(), out, width, height);
}

bool X11InputDriver::copyPixelsOf(uint32_t target, std::vector<uint8_t>* out, int32_t* width,
                                  int32_t* height)
{
    Reply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(x->c, xcb_get_geometry(x->c, target), nullptr));
    if (!g)
        return false;
    Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        x->c,
        xcb_get_image(x->c, XCB_IMAGE_FORMAT_Z_PIXMAP, target, 0, 0, g->width, g->height, ~0u),
        nullptr));
    if (!image)
        return false;
    // Only 32 bits a pixel, red, green and blue in the low three bytes of
    // the word: what 24- and 32-bit true-colour servers send.
    const xcb_setup_t* setup = xcb_get_setup(x->c);
    int bits = 0;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f))
        if (f.data->depth == image->depth)
            bits = f.data->bits_per_pixel;
    const size_t bytes = static_cast<size_t>(g->width) * g->height * 4;
    if (bits != 32 || static_cast<size_t>(xcb_get_image_data_length(image.get())) < bytes)
        return false;
    const uint8_t* data = xcb_get_image_data(image.get());
    const bool lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    out->resize(bytes);
    for (size_t i = 0; i < bytes; i += 4) {
        for (size_t k = 0; k < 3; ++k)
            (*out)[i + k] = data[i + (lsbFirst ? k : 3 - k)];
        (*out)[i + 3] = 0xFF;
    }
    *width = g->width;
    *height = g->height;
    return true;
}

status_t X11InputDriver::savePng(const char* path)
{
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0;
    if (path == nullptr || !copyPixels(&pixels, &width, &height))
        return B_ERROR;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels.data(), CAIRO_FORMAT_RGB24, width, height, width * 4);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? B_OK : B_ERROR;
}
