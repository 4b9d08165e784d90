// The X11 back end's adopter: a host's parent window id to a running window.
#include "platform/backends/x11/X11Backend.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "platform/api/Window.h"
#include "platform/backends/x11/X11Window.h"

namespace {
thread_local uint32_t lastAdopted = 0;
}

BWindow* adoptX11Window(void* handle, int32_t width, int32_t height)
{
    lastAdopted = 0;
    // An X11 id is 29 bits; anything wider is not a window id.
    const auto id = reinterpret_cast<uintptr_t>(handle);
    if (id == 0 || id > 0x1fffffff)
        return nullptr;
    std::unique_ptr<X11Window> window = X11Window::open(static_cast<uint32_t>(id), width, height);
    if (window == nullptr)
        return nullptr;
    const uint32_t made = window->id();
    BWindow* adopted = BWindow::Adopt(std::move(window));
    if (adopted != nullptr)
        lastAdopted = made;
    return adopted;
}

uint32_t lastAdoptedX11Window()
{
    return lastAdopted;
}
