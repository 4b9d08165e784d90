// HeadlessHost: the host's writes, waits and reads on the record.
#include "platform/backends/headless/HeadlessHost.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/api/Utf8.h"
#include "platform/backends/headless/Futex.h"

namespace {

using futex::load;
using futex::store;

bool reached(uint32_t value, uint32_t target)
{
    return static_cast<int32_t>(value - target) >= 0;
}

} // namespace

HeadlessHost::HeadlessHost(int32_t width, int32_t height, int32_t screenLeft, int32_t screenTop)
{
    width = std::clamp(width, 1, 16384);
    height = std::clamp(height, 1, 16384);
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0xFF);
    record_.version = WOBRIX_HEADLESS_WINDOW_VERSION;
    record_.size = sizeof(WobrixHeadlessWindow);
    record_.width = width;
    record_.height = height;
    record_.stride = width * 4;
    record_.screen_left = screenLeft;
    record_.screen_top = screenTop;
    record_.pixels = pixels_.data();
    record_.press_clicks = 1;
    record_.content_width = width;
    record_.content_height = height;
}

HeadlessHost::~HeadlessHost()
{
    endInput();
}

bool HeadlessHost::attached() const
{
    return load(&record_.attached) != 0;
}

void HeadlessHost::setPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys)
{
    store(&record_.pointer_x, x);
    store(&record_.pointer_y, y);
    store(&record_.buttons, buttons);
    store(&record_.modifiers, modifierKeys);
    __atomic_add_fetch(&record_.pointer_serial, 1u, __ATOMIC_ACQ_REL);
}

bool HeadlessHost::waitPointerSeen(bigtime_t timeout)
{
    const uint32_t serial = load(&record_.pointer_serial);
    return futex::waitUntil(&record_.wake_host, timeout, [&] {
        return static_cast<int32_t>(load(&record_.pointer_seen) - serial) >= 0;
    });
}

void HeadlessHost::endInput()
{
    store(&record_.input_ended, 1u);
    setPointer(load(&record_.pointer_x), load(&record_.pointer_y), 0, 0);
    futex::bumpAndWake(&record_.wake_addon);
}

bool HeadlessHost::redraw(bigtime_t timeout)
{
    const uint32_t serial = __atomic_add_fetch(&record_.redraw_request, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_.wake_addon);
    return futex::waitUntil(&record_.wake_host, timeout, [&] {
        return static_cast<int32_t>(load(&record_.redraw_done) - serial) >= 0;
    });
}

uint32_t HeadlessHost::postPress(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys,
                                 uint32_t clicks)
{
    if (load(&record_.press_request) != load(&record_.press_done))
        return 0;
    setPointer(x, y, buttons, modifierKeys);
    store(&record_.press_x, x);
    store(&record_.press_y, y);
    store(&record_.press_buttons, buttons);
    store(&record_.press_modifiers, modifierKeys);
    store(&record_.press_clicks, clicks);
    uint32_t serial = __atomic_add_fetch(&record_.press_request, 1u, __ATOMIC_ACQ_REL);
    // 0 means "refused", so the serial skips it when it wraps.
    if (serial == 0)
        serial = __atomic_add_fetch(&record_.press_request, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_.wake_addon);
    return serial;
}

bool HeadlessHost::waitPress(uint32_t serial, bigtime_t timeout)
{
    if (serial == 0)
        return false;
    return futex::waitUntil(&record_.wake_host, timeout, [&] {
        return static_cast<int32_t>(load(&record_.press_done) - serial) >= 0;
    });
}

uint32_t HeadlessHost::postKey(const char* bytes, int32_t length, uint32_t modifierKeys)
{
    constexpr int32_t kLongest = static_cast<int32_t>(sizeof record_.key_bytes) - 1;
    if (bytes == nullptr || length < 1 || length > kLongest)
        return 0;
    if (load(&record_.key_request) != load(&record_.key_done))
        return 0;
    for (int32_t i = 0; i <= kLongest; ++i) {
        const uint8_t b = i < length ? static_cast<uint8_t>(bytes[i]) : 0;
        store(&record_.key_bytes[i], b);
    }
    store(&record_.key_length, static_cast<uint32_t>(length));
    store(&record_.key_modifiers, modifierKeys);
    uint32_t serial = __atomic_add_fetch(&record_.key_request, 1u, __ATOMIC_ACQ_REL);
    if (serial == 0)
        serial = __atomic_add_fetch(&record_.key_request, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_.wake_addon);
    return serial;
}

bool HeadlessHost::waitKey(uint32_t serial, bigtime_t timeout)
{
    if (serial == 0)
        return false;
    return futex::waitUntil(&record_.wake_host, timeout,
                            [&] { return reached(load(&record_.key_done), serial); });
}

bool HeadlessHost::typeText(const char* utf8, bigtime_t timeout)
{
    if (utf8 == nullptr)
        return false;
    for (std::string_view rest(utf8); !rest.empty();) {
        const utf8::Character c = utf8::decode(rest);
        if (c.point == utf8::kBad || !waitKey(postKey(rest.data(), c.length), timeout))
            return false;
        rest.remove_prefix(static_cast<size_t>(c.length));
    }
    return true;
}

void HeadlessHost::answerMenu(int32_t choice)
{
    store(&record_.menu_choice, choice);
    __atomic_add_fetch(&record_.menu_answer, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_.wake_addon);
}

bool HeadlessHost::menuAnswerTaken() const
{
    return load(&record_.menu_taken) == load(&record_.menu_answer);
}

bool HeadlessHost::waitMenuAnswerTaken(bigtime_t timeout)
{
    return futex::waitUntil(&record_.wake_host, timeout, [&] { return menuAnswerTaken(); });
}

uint32_t HeadlessHost::menusOpened() const
{
    return load(&record_.menu_opened);
}
uint32_t HeadlessHost::menusClosed() const
{
    return load(&record_.menu_closed);
}

bool HeadlessHost::waitMenuOpened(uint32_t count, bigtime_t timeout)
{
    return futex::waitUntil(&record_.wake_host, timeout,
                            [&] { return reached(menusOpened(), count); });
}

bool HeadlessHost::waitMenuClosed(uint32_t count, bigtime_t timeout)
{
    return futex::waitUntil(&record_.wake_host, timeout,
                            [&] { return reached(menusClosed(), count); });
}

BPoint HeadlessHost::menuLocation() const
{
    return {static_cast<float>(load(&record_.menu_x)), static_cast<float>(load(&record_.menu_y))};
}

int32_t HeadlessHost::menuItems() const
{
    return load(&record_.menu_items);
}

void HeadlessHost::waitAnything(bigtime_t timeout)
{
    const uint32_t seen = load(&record_.wake_host);
    futex::wait(&record_.wake_host, seen, timeout);
}

bool HeadlessHost::copyPixels(std::vector<uint8_t>* out, bigtime_t timeout) const
{
    if (out == nullptr)
        return false;
    const bigtime_t end = system_time() + timeout;
    const size_t row = static_cast<size_t>(record_.width) * 4;
    out->resize(row * static_cast<size_t>(record_.height));
    for (;;) {
        const uint32_t before = load(&record_.picture_serial);
        if ((before & 1u) == 0) {
            for (int32_t y = 0; y < record_.height; ++y) {
                std::memcpy(out->data() + row * static_cast<size_t>(y),
                            pixels_.data() +
                                static_cast<size_t>(record_.stride) * static_cast<size_t>(y),
                            row);
            }
            if (load(&record_.picture_serial) == before)
                return true;
        }
        if (system_time() >= end)
            return false;
        futex::wait(&record_.wake_host, load(&record_.wake_host), 5000);
    }
}

uint32_t HeadlessHost::pixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= record_.width || y >= record_.height)
        return 0;
    const uint8_t* p = pixels_.data() +
                       static_cast<size_t>(record_.stride) * static_cast<size_t>(y) +
                       static_cast<size_t>(x) * 4;
    return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

status_t HeadlessHost::savePng(const char* path) const
{
    if (path == nullptr)
        return B_BAD_VALUE;
    std::vector<uint8_t> copy;
    if (!copyPixels(&copy))
        return B_ERROR;
    // RGB24 ignores the alpha byte, so the PNG is opaque whatever it holds.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        copy.data(), CAIRO_FORMAT_RGB24, record_.width, record_.height, record_.width * 4);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? B_OK : B_ERROR;
}
