// The headless back end: a window whose surface is a host's buffer, shared
// through a headless window record (HeadlessWindow.h). The host posts
// redraws, presses, keys and menu answers in the record; this side answers
// each with a serial and a wake. The whole contract is in
// docs/architecture.md, "The headless window record".
#pragma once

#include <atomic>
#include <memory>

#include "platform/backends/WindowBackend.h"
#include "platform/backends/headless/HeadlessWindow.h"

class BWindow;

// The add-on's side of a record the host filled in: a running window covering
// width x height, with one view of the same size (ChildAt(0), "host view",
// B_FOLLOW_ALL, view colour white) to put the editor's view in. Null when the
// record is null, of another version, too small, inconsistent, or already
// used by another window. The record must outlive the window.
BWindow* adoptHeadlessWindow(WobrixHeadlessWindow* record);
// The same, for a host's handle of unknown type (the editor opcode's pointer).
// The size is the record's own; the editor's is not needed.
BWindow* adoptHeadlessHandle(void* handle, int32_t width, int32_t height, int32_t scale);

class HeadlessBackend final : public WindowBackend {
public:
    // Null unless the record is usable and was free; marks it attached.
    static std::unique_ptr<HeadlessBackend> attach(WobrixHeadlessWindow* record);

    PixelBuffer surface() override;
    BPoint screenOrigin() override;
    void contentResized(int32_t width, int32_t height) override;
    void beginDrawing(const clipping_rect& area) override;
    void present() override;
    void pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers) override;
    uint32_t modifiers() override;
    void run(WindowEvents& window) override;
    void wake() override;
    int32_t runMenu(WindowEvents& window, BPoint screenWhere, const char* const* labels,
                    int32_t items) override;
    void detach() override;

private:
    explicit HeadlessBackend(WobrixHeadlessWindow* record);
    bool inputEnded() const;
    void markSeen(uint32_t serial) const;

    WobrixHeadlessWindow* record_;
    std::atomic<bool> writing_{false};
};
