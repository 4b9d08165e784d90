// MemoryWindow: a window over its own pixel buffer, for tests and tools
// without a host. It is a HeadlessHost and the BWindow adopted from it.
#pragma once

#include <cstdint>

#include "platform/api/GraphicsDefs.h"
#include "platform/backends/headless/HeadlessHost.h"

class BView;
class BWindow;

class MemoryWindow {
public:
    // The window's top-left pixel sits at (screenLeft, screenTop) on the screen.
    MemoryWindow(int32_t width, int32_t height, int32_t screenLeft = 0, int32_t screenTop = 0);
    // Quits the window, then lets the buffer go.
    ~MemoryWindow();
    MemoryWindow(const MemoryWindow&) = delete;
    MemoryWindow& operator=(const MemoryWindow&) = delete;

    BWindow* window() const { return window_; }
    // The view covering the window, where views to test go.
    BView* view() const;
    HeadlessHost& host() { return host_; }

    // Reads the buffer; call with the window locked or after a wait for the window.
    rgb_color pixelAt(int32_t x, int32_t y) const;
    status_t savePng(const char* path) const { return host_.savePng(path); }

private:
    HeadlessHost host_;
    BWindow* window_;
};
