// Inside the X11 back end: a pop-up menu as an override-redirect window on
// the root, drawn with the platform's own text, holding a pointer grab that
// is always released before the window goes.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "platform/api/Rect.h"

class BBitmap;
class WindowEvents;

class X11Menu {
public:
    X11Menu(xcb_connection_t* connection, BPoint screenWhere, const char* const* labels,
            int32_t items);
    ~X11Menu();
    X11Menu(const X11Menu&) = delete;
    X11Menu& operator=(const X11Menu&) = delete;

    // Until an item is chosen (its index) or the menu is dismissed (-1): a
    // release on an item chooses it, a press outside dismisses, and so does
    // the window quitting.
    int32_t run(WindowEvents& window);

private:
    void draw(int32_t highlighted);
    int32_t itemAt(int32_t x, int32_t y) const;

    xcb_connection_t* connection_;
    std::vector<const char*> labels_;
    xcb_window_t window_ = 0;
    xcb_gcontext_t gc_ = 0;
    uint8_t depth_ = 24;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t rowHeight_ = 0;
    float ascent_ = 0;
    bool grabbed_ = false;
};
