// X11Menu: the pop-up menu window, its drawing and its grab.
#include "platform/backends/x11/X11Menu.h"

#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/api/Bitmap.h"
#include "platform/api/View.h"
#include "platform/backends/WindowBackend.h"

namespace {

constexpr int32_t kPadding = 8;    // left and right of a label
constexpr int32_t kRowPadding = 4; // above and below
constexpr int kLookAgain = 100;    // ms between looks at the window quitting
constexpr int16_t kBorder = 1;
// A release this soon after the menu opened ends the click that opened it.
constexpr uint32_t kOpeningClick = 300;

} // namespace

X11Menu::X11Menu(xcb_connection_t* connection, BPoint where, const char* const* labels,
                 int32_t items)
    : connection_(connection), labels_(labels, labels + items)
{
    BView measure(BRect(0, 0, 1, 1), "menu", B_FOLLOW_NONE, 0);
    font_height fh{};
    measure.GetFontHeight(&fh);
    ascent_ = std::ceil(fh.ascent);
    rowHeight_ =
        static_cast<int32_t>(std::ceil(fh.ascent + fh.descent + fh.leading)) + 2 * kRowPadding;
    float widest = 0;
    for (const char* label : labels_)
        widest = std::max(widest, measure.StringWidth(label));
    width_ = static_cast<int32_t>(std::ceil(widest)) + 2 * kPadding;
    height_ = rowHeight_ * items;

    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    depth_ = screen->root_depth;
    left_ = static_cast<int16_t>(where.x) + kBorder;
    top_ = static_cast<int16_t>(where.y) + kBorder;
    window_ = xcb_generate_id(connection_);
    const uint32_t values[] = {1, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                      XCB_EVENT_MASK_BUTTON_RELEASE |
                                      XCB_EVENT_MASK_POINTER_MOTION};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root,
                      static_cast<int16_t>(where.x), static_cast<int16_t>(where.y),
                      static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), kBorder,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    gc_ = xcb_generate_id(connection_);
    xcb_create_gc(connection_, gc_, window_, 0, nullptr);
    xcb_map_window(connection_, window_);
    xcb_grab_pointer_reply_t* grab = xcb_grab_pointer_reply(
        connection_,
        xcb_grab_pointer(connection_, 1, window_,
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                         XCB_CURRENT_TIME),
        nullptr);
    grabbed_ = grab != nullptr && grab->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(grab);
    xcb_flush(connection_);
}

X11Menu::~X11Menu()
{
    if (grabbed_)
        xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
    xcb_free_gc(connection_, gc_);
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

int32_t X11Menu::itemAt(int32_t rootX, int32_t rootY) const
{
    const int32_t x = rootX - left_, y = rootY - top_;
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return -1;
    return y / rowHeight_;
}

void X11Menu::draw(int32_t highlighted)
{
    BBitmap picture(BRect(0, 0, static_cast<float>(width_ - 1), static_cast<float>(height_ - 1)),
                    B_RGB32, true);
    auto* view = new BView(picture.Bounds(), "menu", B_FOLLOW_NONE, 0);
    picture.AddChild(view);
    picture.Lock();
    for (int32_t i = 0; i < static_cast<int32_t>(labels_.size()); ++i) {
        const bool lit = i == highlighted;
        const float top = static_cast<float>(i * rowHeight_);
        view->SetHighColor(lit ? rgb_color{50, 90, 170, 255} : rgb_color{236, 236, 236, 255});
        view->FillRect(BRect(0, top, static_cast<float>(width_ - 1),
                             top + static_cast<float>(rowHeight_ - 1)));
        view->SetHighColor(lit ? rgb_color{255, 255, 255, 255} : rgb_color{0, 0, 0, 255});
        view->DrawString(labels_[static_cast<size_t>(i)],
                         BPoint(kPadding, top + kRowPadding + ascent_));
    }
    picture.Unlock();
    const auto bytes = static_cast<uint32_t>(picture.BitsLength());
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                  static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0, 0, 0, depth_,
                  bytes, static_cast<const uint8_t*>(picture.Bits()));
    xcb_flush(connection_);
}

int32_t X11Menu::run(WindowEvents& window, X11EventSink& others)
{
    if (!grabbed_)
        return -1;
    int32_t lit = -1;
    uint32_t openedAt = 0;
    bool timeKnown = false;
    draw(lit);
    for (;;) {
        if (window.quitting() || xcb_connection_has_error(connection_))
            return -1;
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(
            xcb_poll_for_event(connection_), &std::free);
        if (!event) {
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&fd, 1, kLookAgain);
            continue;
        }
        // The grab reports a press on the editor's window (ours too) there, in
        // its coordinates: every pointer event is placed by its screen point.
        switch (event->response_type & 0x7f) {
        case XCB_EXPOSE:
            if (reinterpret_cast<xcb_expose_event_t*>(event.get())->window != window_)
                others.handBack(event.release());
            else
                draw(lit);
            break;
        case XCB_MOTION_NOTIFY: {
            const auto* m = reinterpret_cast<xcb_motion_notify_event_t*>(event.get());
            if (!timeKnown) {
                openedAt = m->time;
                timeKnown = true;
            }
            const int32_t now = itemAt(m->root_x, m->root_y);
            if (now != lit) {
                lit = now;
                draw(lit);
            }
            break;
        }
        case XCB_BUTTON_PRESS: {
            const auto* b = reinterpret_cast<xcb_button_press_event_t*>(event.get());
            if (itemAt(b->root_x, b->root_y) < 0)
                return -1;
            break;
        }
        case XCB_BUTTON_RELEASE: {
            const auto* b = reinterpret_cast<xcb_button_release_event_t*>(event.get());
            const int32_t item = itemAt(b->root_x, b->root_y);
            if (item >= 0)
                return item;
            // The release of the click that opened the menu keeps it open.
            if (timeKnown && b->time - openedAt > kOpeningClick)
                return -1;
            if (!timeKnown) {
                openedAt = b->time;
                timeKnown = true;
            }
            break;
        }
        default: others.handBack(event.release()); break;
        }
    }
}
