// The X11 window back end: the child window and its pixels, the window
// thread's event loop, live pointer state, keys, and uploads (MIT-SHM or
// plain put-image) of what was drawn.
#include "platform/backends/x11/X11Window.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <xcb/shm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/api/EditorScale.h"
#include "platform/api/Image.h"
#include "platform/backends/x11/NoSigpipe.h"
#include "platform/backends/x11/X11Keys.h"
#include "platform/backends/x11/X11Menu.h"
#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

namespace {

// The window thread looks again at least this often (ms): another thread's
// request may have read events into XCB's queue without waking the socket.
constexpr int kLookAgain = 100;
// Two presses of one button this close (ms, pixels) make a double click.
constexpr uint32_t kDoubleClickTime = 400;
constexpr int32_t kDoubleClickSlop = 4;
constexpr int32_t kLargestSide = 16384;

// One line on stderr, named after the file this code was loaded from (the
// add-on inside a host, the program that links it), never a product.
void complain(const std::string& what)
{
    std::string file;
    const auto self = reinterpret_cast<const void*>(&complain);
    const std::string name =
        findImageContaining(self, &file) ? std::filesystem::path(file).filename().string() : "";
    std::fprintf(stderr, "%s%s%s\n", name.c_str(), name.empty() ? "" : ": ", what.c_str());
}

const xcb_visualtype_t* findVisual(const xcb_setup_t* setup, xcb_visualid_t id, uint8_t* depth)
{
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s)) {
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
                if (v.data->visual_id == id) {
                    *depth = d.data->depth;
                    return v.data;
                }
            }
        }
    }
    return nullptr;
}

// Our buffer is 32-bit blue, green, red, alpha in memory: the server's own
// layout for a TrueColor visual of depth 24 or 32 with these masks, 32 bits a
// pixel and the low byte first.
bool serverTakesOurPixels(const xcb_setup_t* setup, const xcb_visualtype_t* visual, uint8_t depth)
{
    if (visual == nullptr || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR ||
        visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 || visual->blue_mask != 0xff ||
        (depth != 24 && depth != 32) || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
        if (f.data->depth == depth)
            return f.data->bits_per_pixel == 32;
    }
    return false;
}

} // namespace

std::unique_ptr<X11Window> X11Window::open(uint32_t parent, int32_t width, int32_t height,
                                           int32_t scale)
{
    scale = std::clamp(scale, 1, editor_scale::kLargest);
    if (parent == 0) {
        complain("the host handed no window to open the editor in");
        return nullptr;
    }
    if (width < 1 || height < 1 || width * scale > kLargestSide || height * scale > kLargestSide) {
        complain("the editor's size " + std::to_string(width) + " x " + std::to_string(height) +
                 (scale > 1 ? " at scale " + std::to_string(scale) : "") +
                 " is not one a window can have (1 to " + std::to_string(kLargestSide) +
                 " pixels a side)");
        return nullptr;
    }
    NoSigpipe quiet; // a server may go away while we are still setting up
    const char* display = std::getenv("DISPLAY");
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        complain(std::string("cannot connect to the X display ") +
                 (display ? display : "(DISPLAY is not set)"));
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<X11Window> window(
        new X11Window(connection, parent, width * scale, height * scale, scale));
    const char* why = nullptr;
    if (!window->create(&why)) {
        complain(std::string("cannot open the editor: ") + why);
        return nullptr;
    }
    return window;
}

X11Window::X11Window(xcb_connection_t* connection, uint32_t parent, int32_t width, int32_t height,
                     int32_t scale)
    : connection_(connection), parent_(parent), width_(width), height_(height), stride_(4 * width),
      scale_(scale)
{
    if (scale_ > 1)
        canvas_.assign(
            static_cast<size_t>(stride_ / scale_) * static_cast<size_t>(height_ / scale_), 0xff);
}

bool X11Window::create(const char** why)
{
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, parent_), nullptr);
    if (attributes == nullptr) {
        *why = "the host's window does not exist";
        return false;
    }
    const xcb_visualid_t visualId = attributes->visual;
    std::free(attributes);
    const xcb_visualtype_t* visual = findVisual(setup, visualId, &depth_);
    if (!serverTakesOurPixels(setup, visual, depth_)) {
        *why = "the host's window has a pixel layout other than 24-bit TrueColor";
        return false;
    }

    window_ = xcb_generate_id(connection_);
    const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK;
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                   XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_KEY_PRESS |
                                   XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_generic_error_t* error = xcb_request_check(
        connection_,
        xcb_create_window_checked(connection_, XCB_COPY_FROM_PARENT, window_, parent_, 0, 0,
                                  static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0,
                                  XCB_WINDOW_CLASS_INPUT_OUTPUT, visualId, mask, values));
    if (error != nullptr) {
        std::free(error);
        window_ = 0;
        *why = "the server refused a window inside the host's";
        return false;
    }
    gc_ = xcb_generate_id(connection_);
    const uint32_t noExposures = 0;
    xcb_create_gc(connection_, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);

    if (!attachSharedMemory()) {
        heap_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_), 0xff);
        pixels_ = heap_.data();
    }
    keySymbols_ = xcb_key_symbols_alloc(connection_);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    watchAncestors();
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
    return wakeFd_ >= 0;
}

// A remote display (or one without the extension) refuses the segment; the
// plain uploads then carry the pixels. WOBRIX_X11_NO_SHM=1 forces them.
bool X11Window::attachSharedMemory()
{
    const char* off = std::getenv("WOBRIX_X11_NO_SHM");
    if (off != nullptr && off[0] == '1')
        return false;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection_, &xcb_shm_id);
    if (shm == nullptr || !shm->present)
        return false;
    const size_t bytes = static_cast<size_t>(stride_) * static_cast<size_t>(height_);
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* address = shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const uint32_t segment = xcb_generate_id(connection_);
    xcb_generic_error_t* error = xcb_request_check(
        connection_, xcb_shm_attach_checked(connection_, segment, static_cast<uint32_t>(id), 1));
    // Marked for removal at once: it goes when both sides have detached,
    // even if this process dies.
    shmctl(id, IPC_RMID, nullptr);
    if (error != nullptr) {
        std::free(error);
        shmdt(address);
        return false;
    }
    shmSegment_ = segment;
    shmAddress_ = address;
    pixels_ = static_cast<uint8_t*>(address);
    std::memset(pixels_, 0xff, bytes);
    return true;
}

X11Window::~X11Window()
{
    if (keySymbols_ != nullptr)
        xcb_key_symbols_free(keySymbols_);
    if (shmAddress_ != nullptr)
        shmdt(shmAddress_);
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    xcb_disconnect(connection_);
}

// The window thread has ended and the views are gone.
void X11Window::detach()
{
    NoSigpipe quiet;
    if (alive()) {
        if (shmSegment_ != 0)
            xcb_shm_detach(connection_, shmSegment_);
        xcb_free_gc(connection_, gc_);
        // Destroyed with a host's parent already, it must not be destroyed
        // again; a checked request keeps a late error to ourselves.
        if (!destroyed_)
            std::free(
                xcb_request_check(connection_, xcb_destroy_window_checked(connection_, window_)));
        xcb_flush(connection_);
    }
}

bool X11Window::alive() const
{
    return xcb_connection_has_error(connection_) == 0;
}

PixelBuffer X11Window::surface()
{
    if (scale_ > 1)
        return {canvas_.data(), width_ / scale_, height_ / scale_, stride_ / scale_};
    return {pixels_, width_, height_, stride_};
}

BPoint X11Window::screenOrigin()
{
    if (!alive())
        return {0, 0};
    NoSigpipe quiet;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window_, root, 0, 0), nullptr);
    if (at == nullptr)
        return {0, 0};
    const BPoint origin{static_cast<float>(at->dst_x), static_cast<float>(at->dst_y)};
    std::free(at);
    return origin;
}

void X11Window::beginDrawing(const clipping_rect& area)
{
    const clipping_rect inside =
        pr::intersect(area, {0, 0, width_ / scale_ - 1, height_ / scale_ - 1});
    if (pr::isEmpty(inside))
        return;
    if (pr::isEmpty(dirty_)) {
        dirty_ = inside;
        return;
    }
    dirty_ = {std::min(dirty_.left, inside.left), std::min(dirty_.top, inside.top),
              std::max(dirty_.right, inside.right), std::max(dirty_.bottom, inside.bottom)};
}

// Under the window lock, on whichever thread drew. An unmapped window keeps
// its dirty area; its next Expose redraws everything anyway.
void X11Window::present()
{
    if (pr::isEmpty(dirty_) || !viewable_ || destroyed_ || !alive())
        return;
    const clipping_rect area = dirty_;
    dirty_ = {0, 0, -1, -1};
    NoSigpipe quiet;
    upload(scale_ > 1 ? enlarge(area) : area);
    xcb_flush(connection_);
}

clipping_rect X11Window::enlarge(const clipping_rect& a)
{
    const PixelBuffer from = surface();
    const int32_t s = scale_;
    const auto rowBytes = static_cast<size_t>(a.right - a.left + 1) * 4 * static_cast<size_t>(s);
    for (int32_t y = a.top; y <= a.bottom; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(from.at(a.left, y));
        uint8_t* first = pixels_ + static_cast<size_t>(y * s) * static_cast<size_t>(stride_) +
                         static_cast<size_t>(a.left * s) * 4;
        auto* out = reinterpret_cast<uint32_t*>(first);
        for (int32_t x = a.left; x <= a.right; ++x, ++in)
            for (int32_t k = 0; k < s; ++k)
                *out++ = *in;
        for (int32_t k = 1; k < s; ++k)
            std::memcpy(first + static_cast<size_t>(k) * static_cast<size_t>(stride_), first,
                        rowBytes);
    }
    return {a.left * s, a.top * s, a.right * s + s - 1, a.bottom * s + s - 1};
}

int32_t X11Window::unscaled(int32_t c) const
{
    // Rounds down, also left of and above the window.
    return c >= 0 ? c / scale_ : -((-c + scale_ - 1) / scale_);
}

void X11Window::upload(const clipping_rect& a)
{
    const auto left = static_cast<uint16_t>(a.left);
    const auto top = static_cast<uint16_t>(a.top);
    const int32_t w = a.right - a.left + 1;
    const int32_t h = a.bottom - a.top + 1;
    if (shmSegment_ != 0) {
        // The server may still be reading while the next frame is drawn; the
        // next upload of the same place carries the newer pixels.
        xcb_shm_put_image(connection_, window_, gc_, static_cast<uint16_t>(width_),
                          static_cast<uint16_t>(height_), left, top, static_cast<uint16_t>(w),
                          static_cast<uint16_t>(h), static_cast<int16_t>(left),
                          static_cast<int16_t>(top), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                          shmSegment_, 0);
        return;
    }
    // Plain uploads in bands of rows, each within the server's request size.
    const size_t rowBytes = static_cast<size_t>(w) * 4;
    const size_t limit = static_cast<size_t>(xcb_get_maximum_request_length(connection_)) * 4;
    const int32_t rowsPerRequest =
        std::max<int32_t>(1, static_cast<int32_t>((limit - 64) / rowBytes));
    for (int32_t y = 0; y < h; y += rowsPerRequest) {
        const int32_t rows = std::min(rowsPerRequest, h - y);
        staging_.resize(rowBytes * static_cast<size_t>(rows));
        for (int32_t r = 0; r < rows; ++r) {
            const uint8_t* from =
                pixels_ + static_cast<size_t>(a.top + y + r) * static_cast<size_t>(stride_) +
                static_cast<size_t>(a.left) * 4;
            std::memcpy(staging_.data() + rowBytes * static_cast<size_t>(r), from, rowBytes);
        }
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                      static_cast<uint16_t>(w), static_cast<uint16_t>(rows),
                      static_cast<int16_t>(left), static_cast<int16_t>(top + y), 0, depth_,
                      static_cast<uint32_t>(staging_.size()), staging_.data());
    }
}

// Live from the server: a tracking loop follows the real pointer. A lost
// server or a destroyed window reads as every button released.
void X11Window::pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers)
{
    *x = 0;
    *y = 0;
    *buttons = 0;
    *modifiers = 0;
    if (destroyed_ || !alive())
        return;
    NoSigpipe quiet;
    xcb_query_pointer_reply_t* p =
        xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, window_), nullptr);
    if (p == nullptr)
        return;
    *x = unscaled(p->win_x);
    *y = unscaled(p->win_y);
    *buttons = x11keys::buttonsOf(p->mask);
    *modifiers = x11keys::modifiersOf(p->mask);
    std::free(p);
}

uint32_t X11Window::modifiers()
{
    int32_t x = 0;
    int32_t y = 0;
    uint32_t buttons = 0;
    uint32_t keys = 0;
    pointer(&x, &y, &buttons, &keys);
    return keys;
}

void X11Window::wake()
{
    const uint64_t one = 1;
    if (wakeFd_ >= 0 && ::write(wakeFd_, &one, sizeof one) < 0) {
        // The counter is full: a wake is pending anyway.
    }
}

void X11Window::waitForInput(bool withConnection)
{
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {xcb_get_file_descriptor(connection_), POLLIN, 0}};
    ::poll(fds, withConnection ? 2 : 1, withConnection ? kLookAgain : -1);
    uint64_t count = 0;
    if (fds[0].revents & POLLIN) {
        if (::read(wakeFd_, &count, sizeof count) < 0) {
            // Nothing to take: another reader got it.
        }
    }
}

void X11Window::run(WindowEvents& window)
{
    while (!window.quitting()) {
        bool alive = this->alive() && !destroyed_;
        while (alive || !handedBack_.empty()) {
            // What a menu's loop read for us comes first, in its order.
            xcb_generic_event_t* event = nullptr;
            if (!handedBack_.empty()) {
                event = handedBack_.front().release();
                handedBack_.pop_front();
            } else {
                event = xcb_poll_for_event(connection_);
            }
            if (event == nullptr)
                break;
            const bool go = handle(event, window);
            std::free(event);
            if (!go)
                return;
            if (window.quitting())
                return;
        }
        if (window.takeRedrawRequest() && !window.deliverRedraw())
            return;
        if (window.quitting())
            return;
        // A lost server or a destroyed window leaves only the wake-up to wait for.
        alive = this->alive() && !destroyed_;
        waitForInput(alive);
    }
}

// Every window from the host's parent up to the root tells us when it is
// mapped, unmapped or moved under another (each client selects its own
// events on any window, so the host's selections are untouched).
void X11Window::watchAncestors()
{
    constexpr int kDeepest = 64;
    xcb_window_t at = parent_;
    for (int depth = 0; depth < kDeepest; ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, at), nullptr);
        if (tree == nullptr)
            return; // gone: its DestroyNotify follows
        const xcb_window_t root = tree->root, above = tree->parent;
        std::free(tree);
        if (at == root)
            return;
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, at, XCB_CW_EVENT_MASK, &mask);
        at = above;
    }
}

void X11Window::checkViewable()
{
    if (destroyed_) {
        viewable_ = false;
        return;
    }
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window_), nullptr);
    viewable_ = a != nullptr && a->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(a);
}

bool X11Window::noteStructure(xcb_generic_event_t* event)
{
    switch (event->response_type & 0x7f) {
    // Ours or a window above it: its viewability may have changed.
    case XCB_MAP_NOTIFY:
    case XCB_UNMAP_NOTIFY: checkViewable(); return true;
    case XCB_REPARENT_NOTIFY:
        // A window manager framing the host's window puts a new one above us.
        watchAncestors();
        checkViewable();
        return true;
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == window_) {
            destroyed_ = true;
            viewable_ = false;
        }
        return true;
    default: return false;
    }
}

void X11Window::handBack(xcb_generic_event_t* event)
{
    if (noteStructure(event))
        std::free(event);
    else
        handedBack_.emplace_back(event);
}

bool X11Window::handle(xcb_generic_event_t* event, WindowEvents& window)
{
    if (noteStructure(event))
        return true;
    switch (event->response_type & 0x7f) {
    case XCB_EXPOSE:
        viewable_ = true; // only a viewable window is exposed
        // The last of a series redraws everything once.
        if (reinterpret_cast<xcb_expose_event_t*>(event)->count == 0)
            return window.deliverRedraw();
        return true;
    case XCB_BUTTON_PRESS: return press(reinterpret_cast<xcb_button_press_event_t*>(event), window);
    case XCB_KEY_PRESS: return key(reinterpret_cast<xcb_key_press_event_t*>(event), window);
    default:
        // Errors come to us as events of our own connection, never to a
        // host's handler; none needs an answer.
        return true;
    }
}

bool X11Window::press(const xcb_button_press_event_t* event, WindowEvents& window)
{
    const uint32_t bit = x11keys::buttonOf(event->detail);
    if (bit == 0)
        return true;
    const bool again = event->detail == lastButton_ &&
                       event->time - lastPressTime_ <= kDoubleClickTime &&
                       std::abs(event->event_x - lastX_) <= kDoubleClickSlop &&
                       std::abs(event->event_y - lastY_) <= kDoubleClickSlop;
    clicks_ = again ? clicks_ + 1 : 1;
    lastButton_ = event->detail;
    lastPressTime_ = event->time;
    lastX_ = event->event_x;
    lastY_ = event->event_y;
    const uint32_t keys = x11keys::modifiersOf(event->state);
    const WindowPress p{unscaled(event->event_x), unscaled(event->event_y),
                        x11keys::buttonsOf(event->state) | bit, keys, clicks_};
    if (!window.deliverPress(p))
        return false;
    // Keys are taken only for a view that wants them, and only while the
    // window can be seen (the server refuses focus for one that cannot).
    if (window.wantsKeys() && viewable_) {
        NoSigpipe quiet;
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
    }
    return true;
}

bool X11Window::key(const xcb_key_press_event_t* event, WindowEvents& window)
{
    const bool shifted = (event->state & XCB_MOD_MASK_SHIFT) != 0;
    xcb_keysym_t sym = xcb_key_symbols_get_keysym(keySymbols_, event->detail, shifted ? 1 : 0);
    if (sym == 0 && shifted)
        sym = xcb_key_symbols_get_keysym(keySymbols_, event->detail, 0);
    char bytes[16] = {};
    const int32_t length = x11keys::bytesOf(sym, bytes);
    if (length == 0)
        return true;
    return window.deliverKey(bytes, length, x11keys::modifiersOf(event->state));
}

int32_t X11Window::runMenu(WindowEvents& window, BPoint screenWhere, const char* const* labels,
                           int32_t items)
{
    if (destroyed_ || !alive() || items <= 0)
        return -1;
    NoSigpipe quiet; // outlives the menu, whose destructor writes too
    if (scale_ > 1) {
        // The toolkit's screen point is our origin plus editor pixels.
        const BPoint origin = screenOrigin();
        screenWhere = {origin.x + (screenWhere.x - origin.x) * static_cast<float>(scale_),
                       origin.y + (screenWhere.y - origin.y) * static_cast<float>(scale_)};
    }
    X11Menu menu(connection_, screenWhere, labels, items);
    return menu.run(window, *this);
}
