// Inside the X11 back end: the window back end over XCB. The window thread
// owns the reading of events; the host's idle thread uploads what it drew
// under the window lock. Both share the one connection, which XCB makes
// thread-safe.
#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

#include "platform/backends/WindowBackend.h"
#include "platform/backends/x11/X11Menu.h"

class X11Window final : public WindowBackend, private X11EventSink {
public:
    // A mapped child of `parent` showing width x height editor pixels, each
    // as a scale x scale block; or null (the reason on stderr).
    static std::unique_ptr<X11Window> open(uint32_t parent, int32_t width, int32_t height,
                                           int32_t scale = 1);
    ~X11Window() override;

    PixelBuffer surface() override;
    BPoint screenOrigin() override;
    void contentResized(int32_t, int32_t) override {}
    void beginDrawing(const clipping_rect& area) override;
    void present() override;
    // Viewable: mapped, and so is every window above it.
    bool visible() const override { return viewable_ && !destroyed_; }
    void pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers) override;
    uint32_t modifiers() override;
    void run(WindowEvents& window) override;
    void wake() override;
    int32_t runMenu(WindowEvents& window, BPoint screenWhere, const char* const* labels,
                    int32_t items) override;
    void detach() override;

    uint32_t id() const { return window_; }
    bool usesSharedMemory() const { return shmSegment_ != 0; }

private:
    X11Window(xcb_connection_t* connection, uint32_t parent, int32_t width, int32_t height,
              int32_t scale);
    bool create(const char** why);
    bool attachSharedMemory();
    // Window pixels of `area` to the server.
    void upload(const clipping_rect& area);
    // Editor pixels of `area` as blocks into the window's pixels; the window
    // pixels they cover.
    clipping_rect enlarge(const clipping_rect& area);
    // A window coordinate as an editor coordinate.
    int32_t unscaled(int32_t windowCoordinate) const;
    bool alive() const;
    bool handle(xcb_generic_event_t* event, WindowEvents& window);
    // Map, unmap, reparent and destroy notices only change our state: true
    // when `event` was one of them.
    bool noteStructure(xcb_generic_event_t* event);
    // A menu's loop hands back what it read for us: the notices count at
    // once, the rest is handled when the window thread's loop goes on.
    void handBack(xcb_generic_event_t* event) override;
    bool press(const xcb_button_press_event_t* event, WindowEvents& window);
    bool key(const xcb_key_press_event_t* event, WindowEvents& window);
    void waitForInput(bool withConnection);
    void watchAncestors();
    void checkViewable();

    xcb_connection_t* connection_;
    xcb_window_t parent_;
    xcb_window_t window_ = 0;
    xcb_gcontext_t gc_ = 0;
    uint8_t depth_ = 0;
    int32_t width_; // the window's, scale_ times the editor's
    int32_t height_;
    int32_t stride_;
    int32_t scale_;
    uint8_t* pixels_ = nullptr;    // the window's: the shared segment, or heap_
    std::vector<uint8_t> canvas_;  // the editor's pixels above scale 1 (else pixels_ is)
    std::vector<uint8_t> heap_;    // without MIT-SHM
    std::vector<uint8_t> staging_; // rows of one plain put-image
    uint32_t shmSegment_ = 0;      // 0 without MIT-SHM
    void* shmAddress_ = nullptr;
    xcb_key_symbols_t* keySymbols_ = nullptr;
    int wakeFd_ = -1;

    struct FreeEvent {
        void operator()(xcb_generic_event_t* e) const { std::free(e); }
    };
    // Window thread only: events a menu's loop read for us.
    std::deque<std::unique_ptr<xcb_generic_event_t, FreeEvent>> handedBack_;

    // Under the window lock: what was drawn since the last upload.
    clipping_rect dirty_{0, 0, -1, -1};

    // A host hides its editor by unmapping a window above ours, which leaves
    // ours mapped but not viewable: nothing is drawn or uploaded then.
    std::atomic<bool> viewable_{false};
    std::atomic<bool> destroyed_{false}; // with its parent, by the host

    // Double clicks: the last press's time, button and place.
    uint32_t lastPressTime_ = 0;
    uint8_t lastButton_ = 0;
    int32_t lastX_ = 0;
    int32_t lastY_ = 0;
    uint32_t clicks_ = 0;
};
