// BWindow: a window over a headless window record (HeadlessWindow.h), with
// its lock, its top-level views and a thread that draws and delivers presses.
//
// The window thread waits on the record. A redraw request (or Invalidate)
// makes it lock the window and draw every view, parents first; a press makes
// it lock the window and call MouseDown of the innermost view under the
// point, in that view's coordinates; a key makes it lock the window and call
// KeyDown of the focus view (a key with no focus view is dropped). Tracking
// loops inside MouseDown read the record's pointer state live through
// GetMouse and modifiers(); a pop-up menu's Go waits there for the host's
// answer (Menu.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/api/Looper.h"
#include "platform/api/Message.h"
#include "platform/api/Rect.h"
#include "platform/api/ViewHost.h"
#include "platform/backends/headless/HeadlessWindow.h"

class BPopUpMenu;
class BView;

class BWindow : public BLooper, private ViewHost {
public:
    // The add-on's side of a record the host filled in: a running window
    // covering width x height, with one view of the same size (ChildAt(0),
    // "host view", B_FOLLOW_ALL, view colour white) to put the editor's view in.
    // Null when the record is null, of another version, too small, inconsistent,
    // or already used by another window. The record must outlive the window.
    static BWindow* AdoptHeadless(WobrixHeadlessWindow* record);

    // Stops and joins the thread, deletes the views, gives the record back.
    ~BWindow() override;

    // Deletes the window. From the window's own thread the deletion happens
    // when the current hook returns. Once quitting, every button reads released.
    void Quit();
    // Starts the window thread; AdoptHeadless already did.
    void Show();

    // The window owns its top-level views.
    void AddChild(BView* view);
    bool RemoveChild(BView* view);
    BView* ChildAt(int32_t index) const;
    int32_t CountChildren() const { return static_cast<int32_t>(children_.size()); }

    // (0, 0, width - 1, height - 1); Frame() is the same on the screen.
    BRect Bounds() const { return {0, 0, width_, height_}; }
    BRect Frame() const;
    // The host's buffer keeps its size; drawing beyond it is cut off. The new
    // size is written into the record's content_width and content_height.
    void ResizeBy(float dx, float dy);
    void ResizeTo(float width, float height);

    // A headless window is an ordinary window, in front while active.
    void Activate(bool active = true) { active_ = active; }
    bool IsActive() const { return active_; }
    bool IsFront() const { return active_; }
    bool IsFloating() const { return false; }

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
    explicit BWindow(WobrixHeadlessWindow* record);

    void run();
    bool lockFromThread();
    void drawAll();
    void deliverPress();
    void deliverKey();
    // Go's wait on the window's thread: publishes the open menu, then answers
    // the host's choice (0-based among `items`), or -1 when dismissed.
    friend class BPopUpMenu;
    static BWindow* ofThisThread();
    int32_t runMenu(BPoint screenWhere, int32_t items);
    bool inputReleased() const;
    void markSeen(uint32_t serial) const;

    void LastUnlock() override;
    PixelBuffer hostPixels() override;
    BLooper* hostLooper() override { return this; }
    BWindow* hostWindow() override { return this; }
    void hostRemoveTop(BView* view) override;
    void hostWillDraw() override;
    void hostFlush() override { LastUnlock(); }
    void hostInvalidate() override { RequestRedraw(); }
    void hostPointer(int32_t* x, int32_t* y, uint32_t* buttons) override;
    BView* hostFocus() const override { return focus_; }
    void hostSetFocus(BView* view) override { focus_ = view; }
    BPoint hostScreenOrigin() override;

    WobrixHeadlessWindow* record_;
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
    std::atomic<bool> writing_{false};
};
