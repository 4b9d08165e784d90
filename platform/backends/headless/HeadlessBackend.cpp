// The headless back end: the record's pixels, pointer state and requests,
// the window thread's loop over them, and menus answered by the host.
#include "platform/backends/headless/HeadlessBackend.h"

#include <algorithm>

#include "platform/api/Window.h"
#include "platform/backends/headless/Futex.h"

namespace {

using futex::load;
using futex::store;

constexpr int32_t kLargestSide = 16384;
// The platform's own waits look again at least this often (µs), so a lost
// wake-up only costs latency.
constexpr bigtime_t kLookAgain = 100000;

bool usable(const WobrixHeadlessWindow* r)
{
    return r != nullptr && r->version == WOBRIX_HEADLESS_WINDOW_VERSION &&
           r->size >= sizeof(WobrixHeadlessWindow) && r->pixels != nullptr && r->width >= 1 &&
           r->height >= 1 && r->width <= kLargestSide && r->height <= kLargestSide &&
           r->stride >= 4 * r->width;
}

} // namespace

BWindow* adoptHeadlessWindow(WobrixHeadlessWindow* record)
{
    return BWindow::Adopt(HeadlessBackend::attach(record));
}

// Headless pictures are always editor pixels: the scale is a screen's.
BWindow* adoptHeadlessHandle(void* handle, int32_t /*width*/, int32_t /*height*/, int32_t /*scale*/)
{
    return adoptHeadlessWindow(static_cast<WobrixHeadlessWindow*>(handle));
}

std::unique_ptr<HeadlessBackend> HeadlessBackend::attach(WobrixHeadlessWindow* record)
{
    if (!usable(record))
        return nullptr;
    uint32_t free = 0;
    if (!__atomic_compare_exchange_n(&record->attached, &free, 1u, false, __ATOMIC_ACQ_REL,
                                     __ATOMIC_ACQUIRE)) {
        return nullptr;
    }
    return std::unique_ptr<HeadlessBackend>(new HeadlessBackend(record));
}

HeadlessBackend::HeadlessBackend(WobrixHeadlessWindow* record) : record_(record)
{
    store(&record_->content_width, record_->width);
    store(&record_->content_height, record_->height);
}

void HeadlessBackend::detach()
{
    store(&record_->attached, 0u);
    futex::bumpAndWake(&record_->wake_host);
}

PixelBuffer HeadlessBackend::surface()
{
    return {record_->pixels, record_->width, record_->height, record_->stride};
}

BPoint HeadlessBackend::screenOrigin()
{
    return {static_cast<float>(record_->screen_left), static_cast<float>(record_->screen_top)};
}

void HeadlessBackend::contentResized(int32_t width, int32_t height)
{
    store(&record_->content_width, width);
    store(&record_->content_height, height);
    futex::bumpAndWake(&record_->wake_host);
}

// The picture serial is odd from the first pixel written under a lock until
// the writing is flushed or the last lock level goes.
void HeadlessBackend::beginDrawing(const clipping_rect& /*area*/)
{
    if (!writing_.exchange(true))
        __atomic_add_fetch(&record_->picture_serial, 1u, __ATOMIC_ACQ_REL);
}

void HeadlessBackend::present()
{
    if (writing_.exchange(false)) {
        __atomic_add_fetch(&record_->picture_serial, 1u, __ATOMIC_ACQ_REL);
        futex::bumpAndWake(&record_->wake_host);
    }
}

bool HeadlessBackend::inputEnded() const
{
    return load(&record_->input_ended) != 0;
}

// Several threads may read the pointer; the seen serial only moves forward.
void HeadlessBackend::markSeen(uint32_t serial) const
{
    uint32_t seen = load(&record_->pointer_seen);
    while (static_cast<int32_t>(serial - seen) > 0 &&
           !__atomic_compare_exchange_n(&record_->pointer_seen, &seen, serial, false,
                                        __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
    }
    futex::bumpAndWake(&record_->wake_host);
}

// The serial is read before the state, so the state read is at least that new.
void HeadlessBackend::pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers)
{
    const uint32_t serial = load(&record_->pointer_serial);
    *x = load(&record_->pointer_x);
    *y = load(&record_->pointer_y);
    const bool ended = inputEnded();
    *buttons = ended ? 0 : load(&record_->buttons);
    *modifiers = ended ? 0 : load(&record_->modifiers);
    markSeen(serial);
}

uint32_t HeadlessBackend::modifiers()
{
    const uint32_t serial = load(&record_->pointer_serial);
    const uint32_t keys = inputEnded() ? 0 : load(&record_->modifiers);
    markSeen(serial);
    return keys;
}

void HeadlessBackend::wake()
{
    futex::bumpAndWake(&record_->wake_addon);
}

void HeadlessBackend::run(WindowEvents& window)
{
    while (!window.quitting()) {
        const uint32_t seen = load(&record_->wake_addon);
        bool busy = false;
        const uint32_t redraw = load(&record_->redraw_request);
        if (window.takeRedrawRequest() || redraw != load(&record_->redraw_done)) {
            if (!window.deliverRedraw())
                break;
            store(&record_->redraw_done, redraw);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        const uint32_t press = load(&record_->press_request);
        if (!window.quitting() && press != load(&record_->press_done)) {
            const WindowPress p{load(&record_->press_x), load(&record_->press_y),
                                load(&record_->press_buttons), load(&record_->press_modifiers),
                                load(&record_->press_clicks)};
            if (!window.deliverPress(p))
                break;
            store(&record_->press_done, press);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        const uint32_t key = load(&record_->key_request);
        if (!window.quitting() && key != load(&record_->key_done)) {
            constexpr uint32_t kLongest = sizeof record_->key_bytes - 1;
            const uint32_t length = std::min(load(&record_->key_length), kLongest);
            char bytes[sizeof record_->key_bytes] = {};
            for (uint32_t i = 0; i < length; ++i)
                bytes[i] = static_cast<char>(load(&record_->key_bytes[i]));
            if (!window.deliverKey(bytes, static_cast<int32_t>(length),
                                   load(&record_->key_modifiers)))
                break;
            store(&record_->key_done, key);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        if (!busy)
            futex::wait(&record_->wake_addon, seen, kLookAgain);
    }
}

// The host sees only the count; it answers by position.
int32_t HeadlessBackend::runMenu(WindowEvents& window, BPoint screenWhere,
                                 const char* const* /*labels*/, int32_t items)
{
    store(&record_->menu_x, static_cast<int32_t>(screenWhere.x));
    store(&record_->menu_y, static_cast<int32_t>(screenWhere.y));
    store(&record_->menu_items, items);
    __atomic_add_fetch(&record_->menu_opened, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_->wake_host);
    int32_t choice = -1;
    for (;;) {
        const uint32_t seen = load(&record_->wake_addon);
        const uint32_t answer = load(&record_->menu_answer);
        if (answer != load(&record_->menu_taken)) {
            const int32_t chosen = load(&record_->menu_choice);
            // A newer answer may have replaced the choice just read; take that one.
            if (load(&record_->menu_answer) != answer)
                continue;
            store(&record_->menu_taken, answer);
            choice = chosen;
            break;
        }
        if (window.quitting() || inputEnded())
            break;
        futex::wait(&record_->wake_addon, seen, kLookAgain);
    }
    __atomic_add_fetch(&record_->menu_closed, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_->wake_host);
    return choice >= 0 && choice < items ? choice : -1;
}
