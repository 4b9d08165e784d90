// Inside the platform layer only: what a tree of views is attached to, a
// window or a bitmap, as the views see it.
#pragma once

#include <cstdint>

#include "platform/api/Rect.h"
#include "platform/pixels/PixelBuffer.h"

class BLooper;
class BView;
class BWindow;

class ViewHost {
public:
    virtual PixelBuffer hostPixels() = 0;
    virtual BLooper* hostLooper() = 0;
    virtual BWindow* hostWindow() = 0;
    // A top-level view leaves the host (RemoveSelf, or its deletion).
    virtual void hostRemoveTop(BView* view) = 0;
    // A primitive is about to write pixels inside `area` (host pixels), and
    // the writing is done for now.
    virtual void hostWillDraw(const clipping_rect& /*area*/) {}
    virtual void hostFlush() {}
    virtual void hostInvalidate() {}
    // The pointer in host pixels and the modifier keys, of one reading; a
    // bitmap has none and answers zeros.
    virtual void hostPointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers)
    {
        *x = 0;
        *y = 0;
        *buttons = 0;
        *modifiers = 0;
    }
    // The view that gets the keys; a bitmap has none.
    virtual BView* hostFocus() const { return nullptr; }
    virtual void hostSetFocus(BView*) {}
    // Where the host's pixel (0, 0) is on the screen.
    virtual BPoint hostScreenOrigin() { return {0, 0}; }

protected:
    virtual ~ViewHost() = default;
};
