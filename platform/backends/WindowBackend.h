// The seam between BWindow and whatever shows it. A BWindow keeps the views,
// the lock, the focus and the delivery of events to views; a back end owns
// the pixels, how they reach a screen (or a host's buffer), the live pointer
// state, pop-up menus and the body of the window's thread, which waits for
// events and hands them to the window through WindowEvents.
#pragma once

#include <cstdint>

#include "platform/api/Rect.h"
#include "platform/pixels/PixelBuffer.h"

// One mouse press as the window delivers it, in window pixels.
struct WindowPress {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t buttons = 0;   // 1 primary, 2 secondary, 4 tertiary
    uint32_t modifiers = 0; // InterfaceDefs.h modifier bits
    uint32_t clicks = 1;
};

// What a back end's window thread calls on its window. Each delivery locks
// the window itself and answers false when the window quits before it gets
// the lock; the thread then ends.
class WindowEvents {
public:
    virtual bool quitting() const = 0;
    // True once after each Invalidate or RequestRedraw.
    virtual bool takeRedrawRequest() = 0;
    virtual bool deliverRedraw() = 0;
    virtual bool deliverPress(const WindowPress& press) = 0;
    // bytes: one key's UTF-8 (or key code), 1 to 15 of them.
    virtual bool deliverKey(const char* bytes, int32_t length, uint32_t modifiers) = 0;
    // True while a view of the window takes keys (a back end that must ask
    // for the keyboard asks only then).
    virtual bool wantsKeys() const = 0;

protected:
    ~WindowEvents() = default;
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;

    // The surface the views draw into: 32-bit pixels, blue, green, red,
    // alpha in memory. It keeps its size for the window's life.
    virtual PixelBuffer surface() = 0;
    // Where surface pixel (0, 0) is on the screen.
    virtual BPoint screenOrigin() = 0;
    // The window's content changed size (ResizeBy); the surface does not.
    virtual void contentResized(int32_t width, int32_t height) = 0;

    // Pixels are about to be written inside `area` (surface pixels), and the
    // writing is done for now: what was written may be shown.
    virtual void beginDrawing(const clipping_rect& area) = 0;
    virtual void present() = 0;
    // False while nothing of the window can be seen (unmapped, destroyed):
    // drawing then waits for the window to show again and be redrawn whole.
    virtual bool visible() const { return true; }

    // The live pointer state in window pixels with the modifier keys, all of
    // one reading (a tracking pass asks once); and the modifier keys alone.
    // Every button and key reads as released once input has ended.
    virtual void pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers) = 0;
    virtual uint32_t modifiers() = 0;

    // The window thread's body: waits for events and delivers them until
    // window.quitting() or a delivery answers false.
    virtual void run(WindowEvents& window) = 0;
    // Makes run() look at window.quitting() and takeRedrawRequest() soon;
    // any thread.
    virtual void wake() = 0;

    // A pop-up menu of `items` choosable items (labels[0 .. items - 1], top
    // down) at a screen point, run on the window thread inside MouseDown with
    // the window locked: the 0-based choice, or -1 when dismissed (or when the
    // window quits meanwhile).
    virtual int32_t runMenu(WindowEvents& window, BPoint screenWhere, const char* const* labels,
                            int32_t items) = 0;

    // The window is being deleted: its thread has ended and its views are
    // gone; the back end gives back what it borrowed.
    virtual void detach() {}
};
