// The X11 back end's adopter (a host's parent window id to a running
// window) and the X server's part of the editor's scale.
#include "platform/backends/x11/X11Backend.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/api/EditorScale.h"
#include "platform/api/Window.h"
#include "platform/backends/x11/X11Window.h"

namespace {

// Xft.dpi from the resources of $DISPLAY's first screen (RESOURCE_MANAGER,
// as xrdb sets it); 0 when there is none.
int32_t xftDpi()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    int32_t dpi = 0;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> r(
            xcb_get_property_reply(c,
                                   xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER,
                                                    XCB_ATOM_STRING, 0, 1 << 16),
                                   nullptr),
            &std::free);
        if (r) {
            std::string_view all(static_cast<const char*>(xcb_get_property_value(r.get())),
                                 static_cast<size_t>(xcb_get_property_value_length(r.get())));
            constexpr std::string_view kName = "Xft.dpi:";
            for (size_t at = 0; at < all.size();) {
                const size_t end = std::min(all.find('\n', at), all.size());
                const std::string_view line = all.substr(at, end - at);
                if (line.substr(0, kName.size()) == kName)
                    dpi = static_cast<int32_t>(
                        std::strtod(std::string(line.substr(kName.size())).c_str(), nullptr));
                at = end + 1;
            }
        }
    }
    xcb_disconnect(c);
    return dpi;
}

} // namespace

BWindow* adoptX11Window(void* handle, int32_t width, int32_t height, int32_t scale)
{
    // An X11 id is 29 bits; anything wider is not a window id.
    const auto id = reinterpret_cast<uintptr_t>(handle);
    if (id == 0 || id > 0x1fffffff)
        return nullptr;
    return BWindow::Adopt(X11Window::open(static_cast<uint32_t>(id), width, height, scale));
}

int32_t chooseX11Scale(int32_t asked)
{
    return editor_scale::choose(asked, xftDpi);
}
