// Inside the X11 back end: a pop-up menu as an override-redirect window on
// the root, drawn with the platform's own text, holding a pointer grab that
// is always released before the window goes. It reads the editor's
// connection; what is not its own goes back to the editor's window.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "platform/api/Rect.h"

class BBitmap;
class WindowEvents;

// Where the menu loop hands an event of the connection it does not take
// (the editor window's expose, keys, map and destroy notices). The receiver
// takes ownership (the event is malloc'd, as XCB makes it).
class X11EventSink {
public:
    virtual void handBack(xcb_generic_event_t* event) = 0;

protected:
    ~X11EventSink() = default;
};

class X11Menu {
public:
    X11Menu(xcb_connection_t* connection, BPoint screenWhere, const char* const* labels,
            int32_t items);
    ~X11Menu();
    X11Menu(const X11Menu&) = delete;
    X11Menu& operator=(const X11Menu&) = delete;

    // Until an item is chosen (its index) or the menu is dismissed (-1): a
    // release on an item chooses it, a press outside dismisses, and so does
    // the window quitting. Pointer events are the menu's wherever they are
    // reported (its grab); every other event goes to `others`.
    int32_t run(WindowEvents& window, X11EventSink& others);

private:
    void draw(int32_t highlighted);
    // The item under a point of the screen, -1 for none.
    int32_t itemAt(int32_t rootX, int32_t rootY) const;

    xcb_connection_t* connection_;
    std::vector<const char*> labels_;
    xcb_window_t window_ = 0;
    xcb_gcontext_t gc_ = 0;
    int32_t left_ = 0; // the screen point of the menu's pixel (0, 0)
    int32_t top_ = 0;
    uint8_t depth_ = 24;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t rowHeight_ = 0;
    float ascent_ = 0;
    bool grabbed_ = false;
};
