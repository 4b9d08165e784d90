// X11HostWindow: the top-level window on its own XCB connection, its title
// and hints, the close request and the Ctrl+Q grab, XTest input, the keysym
// to keycode lookup, and the picture read back as PNG.
#include "platform/backends/x11/X11HostWindow.h"

#include <cairo.h>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/api/InterfaceDefs.h"

namespace {

// Keysyms (the X protocol's numbers for the keys we press).
constexpr uint32_t kKeyShiftL = 0xffe1;
constexpr uint32_t kKeyControlL = 0xffe3;
constexpr uint32_t kKeyAltL = 0xffe9;
constexpr uint32_t kKeySuperL = 0xffeb;
constexpr uint32_t kKeyQ = 'q';

// The modifier keys of a script as the X11 back end reads them: command on
// Ctrl, option on Alt, control on the logo key.
struct ModifierKey {
    uint32_t bit;
    uint32_t keysym;
};
constexpr ModifierKey kModifierKeys[] = {{B_SHIFT_KEY, kKeyShiftL},
                                         {B_COMMAND_KEY, kKeyControlL},
                                         {B_CONTROL_KEY, kKeySuperL},
                                         {B_OPTION_KEY, kKeyAltL}};

// Our button bits and the X buttons they are: secondary is the right one.
struct ButtonBit {
    uint32_t bit;
    uint8_t button;
};
constexpr ButtonBit kButtons[] = {{1, 1}, {2, 3}, {4, 2}};

// The key codes of InterfaceDefs.h and the keysyms of those keys.
struct SpecialKey {
    char code;
    uint32_t keysym;
};
constexpr SpecialKey kSpecialKeys[] = {
    {B_HOME, 0xff50},     {B_END, 0xff57},        {B_BACKSPACE, 0xff08},  {B_TAB, 0xff09},
    {B_ENTER, 0xff0d},    {B_ESCAPE, 0xff1b},     {B_LEFT_ARROW, 0xff51}, {B_RIGHT_ARROW, 0xff53},
    {B_UP_ARROW, 0xff52}, {B_DOWN_ARROW, 0xff54}, {B_DELETE, 0xffff}};

// One key's bytes as a keysym: Latin-1 characters are their own keysym,
// other characters 0x01000000 + their code point; 0 for bad UTF-8.
uint32_t keysymOf(const char* bytes, int32_t length)
{
    if (length == 1)
        for (const SpecialKey& k : kSpecialKeys)
            if (bytes[0] == k.code)
                return k.keysym;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    uint32_t point = 0;
    int32_t extra = 0;
    if (b[0] < 0x80)
        point = b[0];
    else if ((b[0] & 0xE0) == 0xC0)
        point = b[0] & 0x1Fu, extra = 1;
    else if ((b[0] & 0xF0) == 0xE0)
        point = b[0] & 0x0Fu, extra = 2;
    else if ((b[0] & 0xF8) == 0xF0)
        point = b[0] & 0x07u, extra = 3;
    else
        return 0;
    if (length != extra + 1)
        return 0;
    for (int32_t i = 1; i <= extra; ++i)
        point = point << 6 | (b[i] & 0x3Fu);
    if (point < 0x20)
        return 0;
    return (point < 0x7F || (point >= 0xA0 && point <= 0xFF)) ? point : 0x01000000u | point;
}

bool isLatinUpper(uint32_t s)
{
    return (s >= 'A' && s <= 'Z') || (s >= 0xC0 && s <= 0xDE && s != 0xD7);
}
bool isLatinLower(uint32_t s)
{
    return (s >= 'a' && s <= 'z') || (s >= 0xE0 && s <= 0xFE && s != 0xF7);
}

// UTF-8 as Latin-1 for WM_NAME; what Latin-1 lacks becomes '?'.
std::string latin1Of(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
        length = std::min(length, utf8.size() - i);
        const uint32_t s = keysymOf(utf8.data() + i, static_cast<int32_t>(length));
        out += s != 0 && s <= 0xFF ? static_cast<char>(s) : '?';
        i += length;
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
        if (c == nullptr)
            return;
        if (window != 0 && !xcb_connection_has_error(c)) {
            // Nothing stays held on the server once we are gone.
            setInput(0, 0);
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

    void readKeyboard()
    {
        const xcb_setup_t* setup = xcb_get_setup(c);
        minCode = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        Reply<xcb_get_keyboard_mapping_reply_t> r(xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, minCode, static_cast<uint8_t>(count)), nullptr));
        keymap.clear();
        perCode = 0;
        if (!r)
            return;
        perCode = r->keysyms_per_keycode;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r.get());
        keymap.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(r.get()));
    }

    // The key that types `keysym`, and whether it needs shift; 0 for none.
    // A key with one keysym that is a letter types the lower and the upper
    // case, as the protocol has it.
    uint8_t keycodeOf(uint32_t keysym, bool* shift) const
    {
        for (int pass = 0; pass < 2; ++pass)
            for (size_t at = 0; perCode > 0 && at < keymap.size(); at += perCode) {
                uint32_t plain = keymap[at], shifted = perCode > 1 ? keymap[at + 1] : 0;
                if (shifted == 0 && isLatinLower(plain))
                    shifted = plain - 0x20;
                else if (shifted == 0 && isLatinUpper(plain))
                    shifted = plain, plain += 0x20;
                if ((pass == 0 ? plain : shifted) == keysym) {
                    *shift = pass == 1;
                    return static_cast<uint8_t>(minCode + at / perCode);
                }
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
        for (const ModifierKey& m : kModifierKeys) {
            if ((wanted & m.bit) == 0 || ((heldKeys & m.bit) != 0) == down)
                continue;
            bool shift = false;
            const uint8_t code = keycodeOf(m.keysym, &shift);
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
        for (const ButtonBit& b : kButtons)
            if (((buttons ^ heldButtons) & b.bit) != 0)
                fake((buttons & b.bit) != 0 ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, b.button);
        heldButtons = buttons;
        modifierKeys(heldKeys & ~keys, false);
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
            closing = closing || reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window == window;
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
        case XCB_MAPPING_NOTIFY: readKeyboard(); break;
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
    xcb_window_t root = 0, window = 0;
    xcb_visualid_t visual = 0;
    std::string display;
    xcb_atom_t protocols = 0, deleteWindow = 0;
    uint8_t minCode = 0, quitCode = 0;
    int perCode = 0;
    std::vector<xcb_keysym_t> keymap;
    uint32_t heldButtons = 0, heldKeys = 0;
    bool closing = false, mapped = false, wantFocus = false;
};

X11HostWindow::X11HostWindow(std::unique_ptr<Connection> connection) : x(std::move(connection)) {}

X11HostWindow::~X11HostWindow() = default;

std::unique_ptr<X11HostWindow> X11HostWindow::open(const std::string& title, int32_t width,
                                                   int32_t height, bigtime_t timeout,
                                                   std::string* whyNot)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        *whyNot = "no X display: DISPLAY is not set";
        return nullptr;
    }
    auto x = std::make_unique<Connection>();
    x->display = name;
    int screenNumber = 0;
    x->c = xcb_connect(name, &screenNumber);
    if (xcb_connection_has_error(x->c)) {
        *whyNot = "cannot connect to X display " + x->display;
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x->c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        *whyNot = "X display " + x->display + " has no such screen";
        return nullptr;
    }
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(x->c, &xcb_test_id);
    if (xtest == nullptr || !xtest->present) {
        *whyNot = "X display " + x->display + " has no XTEST extension for scripted input";
        return nullptr;
    }
    x->root = screens.data->root;
    x->visual = screens.data->root_visual;

    x->window = xcb_generate_id(x->c);
    const uint32_t values[] = {screens.data->black_pixel,
                               XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(x->c, XCB_COPY_FROM_PARENT, x->window, x->root, 0, 0,
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x->visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    const std::string latin1 = latin1Of(title);
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, static_cast<uint32_t>(latin1.size()), latin1.data());
    xcb_change_property(x->c, XCB_PROP_MODE_REPLACE, x->window, x->atom("_NET_WM_NAME"),
                        x->atom("UTF8_STRING"), 8, static_cast<uint32_t>(title.size()),
                        title.data());
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

    // Ctrl+Q in the window or any window inside it comes to us, whatever
    // Caps Lock and Num Lock are.
    x->readKeyboard();
    bool shift = false;
    x->quitCode = x->keycodeOf(kKeyQ, &shift);
    if (x->quitCode != 0)
        for (const uint32_t locks : {0u, uint32_t{XCB_MOD_MASK_LOCK}, uint32_t{XCB_MOD_MASK_2},
                                     uint32_t{XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2}})
            xcb_grab_key(x->c, 1, x->window, static_cast<uint16_t>(XCB_MOD_MASK_CONTROL | locks),
                         x->quitCode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);

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
    Reply<xcb_query_tree_reply_t> r(
        xcb_query_tree_reply(x->c, xcb_query_tree(x->c, x->window), nullptr));
    if (!r || xcb_query_tree_children_length(r.get()) == 0)
        return 0;
    return xcb_query_tree_children(r.get())[0];
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
    if (!x->drain())
        return true;
    if (!x->closing && timeout > 0) {
        x->wait(timeout);
        if (!x->drain())
            return true;
    }
    if (x->wantFocus)
        focusChild();
    return x->closing;
}

bool X11HostWindow::setPointer(int32_t px, int32_t py, uint32_t buttons, uint32_t modifierKeys)
{
    // Where the window is now: a window manager may have moved it.
    Reply<xcb_translate_coordinates_reply_t> r(xcb_translate_coordinates_reply(
        x->c,
        xcb_translate_coordinates(x->c, x->window, x->root, static_cast<int16_t>(px),
                                  static_cast<int16_t>(py)),
        nullptr));
    return r && setScreenPointer(r->dst_x, r->dst_y, buttons, modifierKeys);
}

bool X11HostWindow::setScreenPointer(int32_t px, int32_t py, uint32_t buttons,
                                     uint32_t modifierKeys)
{
    x->fake(XCB_MOTION_NOTIFY, 0, static_cast<int16_t>(px), static_cast<int16_t>(py));
    x->setInput(buttons, modifierKeys);
    return xcb_flush(x->c) > 0;
}

bool X11HostWindow::topPopup(Popup* out)
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

bool X11HostWindow::pointOutside(const Popup& popup, int32_t* px, int32_t* py)
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

bool X11HostWindow::key(const char* bytes, int32_t length, uint32_t modifierKeys,
                        std::string* whyNot)
{
    const uint32_t keysym = length > 0 ? keysymOf(bytes, length) : 0;
    bool shift = false;
    const uint8_t code = keysym != 0 ? x->keycodeOf(keysym, &shift) : 0;
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

bool X11HostWindow::sync()
{
    Reply<xcb_get_input_focus_reply_t> r(
        xcb_get_input_focus_reply(x->c, xcb_get_input_focus(x->c), nullptr));
    return r != nullptr;
}

bool X11HostWindow::copyPixels(std::vector<uint8_t>* out, int32_t* width, int32_t* height)
{
    const uint32_t inside = child();
    return copyPixelsOf(inside != 0 ? inside : x->window, out, width, height);
}

bool X11HostWindow::copyPixelsOf(uint32_t target, std::vector<uint8_t>* out, int32_t* width,
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

status_t X11HostWindow::savePng(const char* path)
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
