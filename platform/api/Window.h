// BWindow: a window with its lock, its top-level views, its focus view and a
// thread that draws and delivers presses and keys. What shows the window (a
// host's headless buffer, an X11 window) is its back end (WindowBackend.h);
// the window never knows which.
//
// The window thread runs the back end's event loop. A redraw request (or
// Invalidate) makes it lock the window and draw every view, parents first; a
// press makes it lock the window and call MouseDown of the innermost view
// under the point, in that view's coordinates; a key makes it lock the window
// and call KeyDown of the focus view (a key with no focus view is dropped).
// Tracking loops inside MouseDown read the back end's live pointer state
// through GetMouse and modifiers(); a pop-up menu's Go runs the back end's
// menu there (Menu.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include <memory>

#include "platform/api/Looper.h"
#include "platform/api/Message.h"
#include "platform/api/Rect.h"
#include "platform/api/ViewHost.h"
#include "platform/api/WindowAdopter.h"

class BPopUpMenu;
class BView;
class WindowBackend; // the seam its back ends implement (platform/backends)
struct WindowPress;

class BWindow : public BLooper, private ViewHost {
public:
    // A running window over `backend` (null for none),
    // covering its surface, with one view of the same size (ChildAt(0),
    // "host view", B_FOLLOW_ALL, view colour white) to put an editor's view in.
    static BWindow* Adopt(std::unique_ptr<WindowBackend> backend);

    // Stops and joins the thread, deletes the views, lets the back end go.
    ~BWindow() override;

    // Deletes the window. From the window's own thread the deletion happens
    // when the current hook returns. Once quitting, every button reads released.
    void Quit();
    // Starts the window thread; Adopt already did.
    void Show();
    // Input ends for good ahead of the deletion: every button reads released
    // from now on, so a tracking loop on the window thread ends and gives the
    // lock back, and the thread delivers nothing more.
    void EndInput();

    // The window owns its top-level views.
    void AddChild(BView* view);
    bool RemoveChild(BView* view);
    BView* ChildAt(int32_t index) const;
    int32_t CountChildren() const { return static_cast<int32_t>(children_.size()); }

    // (0, 0, width - 1, height - 1); Frame() is the same on the screen.
    BRect Bounds() const { return {0, 0, width_, height_}; }
    BRect Frame() const;
    // The surface keeps its size; drawing beyond it is cut off. The back end
    // is told the new size.
    void ResizeBy(float dx, float dy);
    void ResizeTo(float width, float height);

    // An editor's window is an ordinary window, in front while active.
    void Activate(bool active = true) { active_ = active; }
    bool IsActive() const { return active_; }
    bool IsFront() const { return active_; }
    bool IsFloating() const { return false; }
    // True while the back end shows nothing of the window.
    bool IsHidden() const;

    // The press being delivered (B_MOUSE_DOWN: "buttons", "modifiers",
    // "clicks", "where") during MouseDown, or the key (B_KEY_DOWN: "bytes",
    // "modifiers", "key" = the first byte) during KeyDown; null otherwise.
    BMessage* CurrentMessage() const { return current_; }

    // The view that gets the keys (BView::MakeFocus), or null. Cleared quietly
    // when the window deletes its views.
    BView* CurrentFocus() const { return focus_; }

    // Asks the window thread to draw every view soon.
    void RequestRedraw();

    // The modifier keys of this window's pointer state.
    uint32_t Modifiers() const;

private:
    explicit BWindow(std::unique_ptr<WindowBackend> backend);

    void run();
    bool lockFromThread();
    void drawAll();
    // Go's wait on the window's thread: the back end's menu, answering the
    // choice (0-based among `items`), or -1 when dismissed.
    friend class BPopUpMenu;
    static BWindow* ofThisThread();
    int32_t runMenu(BPoint screenWhere, const char* const* labels, int32_t items);

    // What the back end's thread calls, through Events (Window.cpp).
    class Events;
    bool deliverRedraw();
    bool deliverPress(const WindowPress& press);
    bool deliverKey(const char* bytes, int32_t length, uint32_t modifiers);

    void LastUnlock() override;
    PixelBuffer hostPixels() override;
    BLooper* hostLooper() override { return this; }
    BWindow* hostWindow() override { return this; }
    void hostRemoveTop(BView* view) override;
    void hostWillDraw(const clipping_rect& area) override;
    void hostFlush() override { LastUnlock(); }
    void hostInvalidate() override { RequestRedraw(); }
    void hostPointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers) override;
    BView* hostFocus() const override { return focus_; }
    void hostSetFocus(BView* view) override { focus_ = view; }
    BPoint hostScreenOrigin() override;

    std::unique_ptr<WindowBackend> backend_;
    float width_;
    float height_;
    bool active_ = true;
    std::vector<BView*> children_;
    BMessage* current_ = nullptr;
    BView* focus_ = nullptr;
    std::thread thread_;
    std::atomic<bool> quitting_{false};
    std::atomic<bool> deleteWhenDone_{false};
    std::atomic<bool> redrawPending_{false};
};
