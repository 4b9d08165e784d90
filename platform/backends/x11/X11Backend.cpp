// The X11 back end's adopter: a host's parent window id to a running window.
#include "platform/backends/x11/X11Backend.h"

#include <cstdint>

#include "platform/api/Window.h"
#include "platform/backends/x11/X11Window.h"

BWindow* adoptX11Window(void* handle, int32_t width, int32_t height)
{
    // An X11 id is 29 bits; anything wider is not a window id.
    const auto id = reinterpret_cast<uintptr_t>(handle);
    if (id == 0 || id > 0x1fffffff)
        return nullptr;
    return BWindow::Adopt(X11Window::open(static_cast<uint32_t>(id), width, height));
}
