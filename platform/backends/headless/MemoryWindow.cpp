// MemoryWindow: a HeadlessHost with its window adopted in the same process.
#include "platform/backends/headless/MemoryWindow.h"

#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessBackend.h"

MemoryWindow::MemoryWindow(int32_t width, int32_t height, int32_t screenLeft, int32_t screenTop)
    : host_(width, height, screenLeft, screenTop), window_(adoptHeadlessWindow(host_.record()))
{
}

MemoryWindow::~MemoryWindow()
{
    if (window_ != nullptr)
        window_->Quit();
}

BView* MemoryWindow::view() const
{
    return window_ != nullptr ? window_->ChildAt(0) : nullptr;
}

rgb_color MemoryWindow::pixelAt(int32_t x, int32_t y) const
{
    const uint32_t p = host_.pixel(x, y);
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
            static_cast<uint8_t>(p >> 24)};
}
