// XDisplay: parents, pictures, XTest input and X-Resource counts over XCB.
#include "XDisplay.h"

#include <xcb/res.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> own(T* reply)
{
    return Reply<T>(reply, &std::free);
}

} // namespace

XDisplay::~XDisplay()
{
    disconnect();
}

bool XDisplay::connect(const char* name)
{
    disconnect();
    connection_ = xcb_connect(name, nullptr);
    if (xcb_connection_has_error(connection_)) {
        disconnect();
        return false;
    }
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_query_extension_reply_t* test = xcb_get_extension_data(connection_, &xcb_test_id);
    return test != nullptr && test->present;
}

void XDisplay::disconnect()
{
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
    connection_ = nullptr;
    screen_ = nullptr;
}

xcb_window_t XDisplay::makeParent(int16_t x, int16_t y, uint16_t width, uint16_t height,
                                  xcb_window_t within)
{
    const xcb_window_t window = xcb_generate_id(connection_);
    // Override-redirect: placed where asked even under a window manager.
    const uint32_t values[] = {screen_->black_pixel, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, within ? within : screen_->root, x,
                      y, width, height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    map(window);
    return window;
}

void XDisplay::destroy(xcb_window_t window)
{
    xcb_destroy_window(connection_, window);
    sync();
}

void XDisplay::map(xcb_window_t window)
{
    xcb_map_window(connection_, window);
    sync();
}

void XDisplay::unmap(xcb_window_t window)
{
    xcb_unmap_window(connection_, window);
    sync();
}

void XDisplay::sync()
{
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

std::vector<xcb_window_t> XDisplay::children(xcb_window_t window)
{
    auto tree =
        own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

bool XDisplay::viewable(xcb_window_t window)
{
    auto a = own(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

void XDisplay::size(xcb_window_t window, int* width, int* height)
{
    auto g =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    *width = g ? g->width : 0;
    *height = g ? g->height : 0;
}

std::vector<uint8_t> XDisplay::pixels(xcb_window_t window, int16_t x, int16_t y, uint16_t width,
                                      uint16_t height)
{
    // With an error pointer, a refusal stays out of the event queue.
    xcb_generic_error_t* error = nullptr;
    auto image = own(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, width, height, ~0u),
        &error));
    std::free(error);
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    if (!image || static_cast<size_t>(xcb_get_image_data_length(image.get())) != bytes)
        return {};
    const uint8_t* data = xcb_get_image_data(image.get());
    return {data, data + bytes};
}

void XDisplay::fake(uint8_t type, uint8_t detail, int16_t x, int16_t y)
{
    xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, screen_->root, x, y, 0);
    sync();
}

void XDisplay::movePointer(int16_t x, int16_t y)
{
    fake(XCB_MOTION_NOTIFY, 0, x, y);
}

void XDisplay::pressButton(uint8_t button)
{
    fake(XCB_BUTTON_PRESS, button, 0, 0);
}

void XDisplay::releaseButton(uint8_t button)
{
    fake(XCB_BUTTON_RELEASE, button, 0, 0);
}

int XDisplay::errors()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if (event->response_type == 0)
            ++errors_;
        std::free(event);
    }
    return errors_;
}

int XDisplay::clientsOf(pid_t pid)
{
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(connection_, &xcb_res_id);
    if (res == nullptr || !res->present)
        return -1;
    // Client 0 with the pid mask: every client's process id.
    const xcb_res_client_id_spec_t all{0, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto ids = own(xcb_res_query_client_ids_reply(
        connection_, xcb_res_query_client_ids(connection_, 1, &all), nullptr));
    if (!ids)
        return -1;
    int count = 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem;
         xcb_res_client_id_value_next(&it)) {
        if (it.data->length == 4 &&
            *xcb_res_client_id_value_value(it.data) == static_cast<uint32_t>(pid))
            ++count;
    }
    return count;
}

int XDisplay::resourcesOf(uint32_t xid, const char* type)
{
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(connection_, &xcb_res_id);
    if (res == nullptr || !res->present)
        return -1;
    auto atom = own(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(type)), type), nullptr));
    xcb_generic_error_t* error = nullptr;
    auto held = own(xcb_res_query_client_resources_reply(
        connection_, xcb_res_query_client_resources(connection_, xid), &error));
    std::free(error);
    if (!atom || !held)
        return -1;
    int count = 0;
    for (auto it = xcb_res_query_client_resources_types_iterator(held.get()); it.rem;
         xcb_res_type_next(&it)) {
        if (it.data->resource_type == atom->atom)
            count += static_cast<int>(it.data->count);
    }
    return count;
}
