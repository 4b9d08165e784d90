// BWindow's thread and the add-on side of the headless record: redraws,
// presses, keys and pop-up menus; modifiers().
#include "platform/api/Window.h"

#include <algorithm>
#include <mutex>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/View.h"
#include "platform/backends/headless/Futex.h"

namespace {

using futex::load;
using futex::store;

constexpr int32_t kLargestSide = 16384;

// The windows alive, oldest first, for modifiers() off the window threads.
std::mutex gLiveMutex;
std::vector<BWindow*> gLive;
thread_local BWindow* tWindowOfThread = nullptr;

bool usable(const WobrixHeadlessWindow* r)
{
    return r != nullptr && r->version == WOBRIX_HEADLESS_WINDOW_VERSION &&
           r->size >= sizeof(WobrixHeadlessWindow) && r->pixels != nullptr && r->width >= 1 &&
           r->height >= 1 && r->width <= kLargestSide && r->height <= kLargestSide &&
           r->stride >= 4 * r->width;
}

} // namespace

BWindow* BWindow::AdoptHeadless(WobrixHeadlessWindow* record)
{
    if (!usable(record))
        return nullptr;
    uint32_t free = 0;
    if (!__atomic_compare_exchange_n(&record->attached, &free, 1u, false, __ATOMIC_ACQ_REL,
                                     __ATOMIC_ACQUIRE)) {
        return nullptr;
    }
    auto* window = new BWindow(record);
    window->AddChild(new BView(window->Bounds(), "host view", B_FOLLOW_ALL, 0));
    window->Show();
    return window;
}

BWindow::BWindow(WobrixHeadlessWindow* record)
    : record_(record), width_(static_cast<float>(record->width - 1)),
      height_(static_cast<float>(record->height - 1))
{
    store(&record_->content_width, record_->width);
    store(&record_->content_height, record_->height);
    std::lock_guard<std::mutex> hold(gLiveMutex);
    gLive.push_back(this);
}

BWindow::~BWindow()
{
    quitting_ = true;
    futex::bumpAndWake(&record_->wake_addon);
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();
        } else {
            thread_.join();
        }
    }
    {
        std::lock_guard<std::mutex> hold(gLiveMutex);
        gLive.erase(std::remove(gLive.begin(), gLive.end(), this), gLive.end());
    }
    Lock();
    // The views go without MakeFocus(false): whoever they would tell may be gone.
    focus_ = nullptr;
    std::vector<BView*> children;
    children.swap(children_);
    for (BView* child : children) {
        child->detachTree(true);
        delete child;
    }
    // The picture is whole again before the record is given back.
    LastUnlock();
    while (IsLocked())
        Unlock();
    store(&record_->attached, 0u);
    futex::bumpAndWake(&record_->wake_host);
}

void BWindow::Quit()
{
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id()) {
        deleteWhenDone_ = true;
        quitting_ = true;
        return;
    }
    delete this;
}

void BWindow::Show()
{
    if (!thread_.joinable() && !quitting_)
        thread_ = std::thread([this] { run(); });
}

void BWindow::AddChild(BView* view)
{
    if (view == nullptr || view->parent_ != nullptr || view->host_ != nullptr)
        return;
    children_.push_back(view);
    view->attachTree(this);
}

bool BWindow::RemoveChild(BView* view)
{
    if (view == nullptr || view->parent_ != nullptr ||
        std::find(children_.begin(), children_.end(), view) == children_.end()) {
        return false;
    }
    // The focus hook may remove or delete the view itself.
    if (!view->releaseFocusBeforeLeaving())
        return true;
    if (std::find(children_.begin(), children_.end(), view) == children_.end())
        return true;
    view->detachTree(true);
    hostRemoveTop(view);
    return true;
}

BView* BWindow::ChildAt(int32_t index) const
{
    if (index < 0 || index >= CountChildren())
        return nullptr;
    return children_[static_cast<size_t>(index)];
}

void BWindow::hostRemoveTop(BView* view)
{
    children_.erase(std::remove(children_.begin(), children_.end(), view), children_.end());
}

BRect BWindow::Frame() const
{
    BRect f = Bounds();
    f.OffsetTo(static_cast<float>(record_->screen_left), static_cast<float>(record_->screen_top));
    return f;
}

BPoint BWindow::hostScreenOrigin()
{
    return {static_cast<float>(record_->screen_left), static_cast<float>(record_->screen_top)};
}

void BWindow::ResizeBy(float dx, float dy)
{
    width_ = std::max(0.0f, width_ + dx);
    height_ = std::max(0.0f, height_ + dy);
    for (BView* child : children_) {
        if (child->ResizingMode() == B_FOLLOW_ALL)
            child->ResizeBy(dx, dy);
    }
    store(&record_->content_width, static_cast<int32_t>(width_) + 1);
    store(&record_->content_height, static_cast<int32_t>(height_) + 1);
    futex::bumpAndWake(&record_->wake_host);
}

void BWindow::ResizeTo(float width, float height)
{
    ResizeBy(width - width_, height - height_);
}

void BWindow::RequestRedraw()
{
    redrawPending_ = true;
    futex::bumpAndWake(&record_->wake_addon);
}

PixelBuffer BWindow::hostPixels()
{
    return {record_->pixels, record_->width, record_->height, record_->stride};
}

// The picture serial is odd from the first pixel written under a lock until
// the writing is flushed or the last lock level goes.
void BWindow::hostWillDraw()
{
    if (!writing_.exchange(true))
        __atomic_add_fetch(&record_->picture_serial, 1u, __ATOMIC_ACQ_REL);
}

void BWindow::LastUnlock()
{
    if (writing_.exchange(false)) {
        __atomic_add_fetch(&record_->picture_serial, 1u, __ATOMIC_ACQ_REL);
        futex::bumpAndWake(&record_->wake_host);
    }
}

bool BWindow::inputReleased() const
{
    return quitting_ || load(&record_->input_ended) != 0;
}

// Several threads may read the pointer; the seen serial only moves forward.
void BWindow::markSeen(uint32_t serial) const
{
    uint32_t seen = load(&record_->pointer_seen);
    while (static_cast<int32_t>(serial - seen) > 0 &&
           !__atomic_compare_exchange_n(&record_->pointer_seen, &seen, serial, false,
                                        __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
    }
    futex::bumpAndWake(&record_->wake_host);
}

// The serial is read before the state, so the state read is at least that new.
void BWindow::hostPointer(int32_t* x, int32_t* y, uint32_t* buttons)
{
    const uint32_t serial = load(&record_->pointer_serial);
    *x = load(&record_->pointer_x);
    *y = load(&record_->pointer_y);
    *buttons = inputReleased() ? 0 : load(&record_->buttons);
    markSeen(serial);
}

uint32_t BWindow::Modifiers() const
{
    const uint32_t serial = load(&record_->pointer_serial);
    const uint32_t keys = inputReleased() ? 0 : load(&record_->modifiers);
    markSeen(serial);
    return keys;
}

bool BWindow::lockFromThread()
{
    // Gives up when the window quits while another thread holds the lock.
    while (LockWithTimeout(10000) != B_OK) {
        if (quitting_)
            return false;
    }
    return true;
}

void BWindow::drawAll()
{
    const std::vector<BView*> children = children_;
    for (BView* child : children) {
        if (std::find(children_.begin(), children_.end(), child) != children_.end())
            child->drawTree();
    }
}

void BWindow::deliverPress()
{
    const int32_t x = load(&record_->press_x);
    const int32_t y = load(&record_->press_y);
    BView* target = nullptr;
    for (auto it = children_.rbegin(); it != children_.rend() && target == nullptr; ++it) {
        target = (*it)->viewAt({static_cast<float>(x), static_cast<float>(y)});
    }
    if (target == nullptr)
        return;
    int32_t ox = 0;
    int32_t oy = 0;
    target->originInHost(&ox, &oy);
    const BPoint where{static_cast<float>(x - ox), static_cast<float>(y - oy)};
    BMessage message(B_MOUSE_DOWN);
    message.AddInt32("buttons", static_cast<int32_t>(load(&record_->press_buttons)));
    message.AddInt32("modifiers", static_cast<int32_t>(load(&record_->press_modifiers)));
    message.AddInt32("clicks", static_cast<int32_t>(load(&record_->press_clicks)));
    message.AddPoint("where", where);
    current_ = &message;
    target->MouseDown(where);
    current_ = nullptr;
}

// The view is not touched after KeyDown returns: the hook may have deleted it.
void BWindow::deliverKey()
{
    BView* target = focus_;
    if (target == nullptr)
        return;
    constexpr uint32_t kLongest = sizeof record_->key_bytes - 1;
    const uint32_t length = std::min(load(&record_->key_length), kLongest);
    if (length == 0)
        return;
    char bytes[sizeof record_->key_bytes] = {};
    for (uint32_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(load(&record_->key_bytes[i]));
    BMessage message(B_KEY_DOWN);
    message.AddString("bytes", bytes);
    message.AddInt32("modifiers", static_cast<int32_t>(load(&record_->key_modifiers)));
    message.AddInt32("key", static_cast<uint8_t>(bytes[0]));
    current_ = &message;
    target->KeyDown(bytes, static_cast<int32_t>(length));
    current_ = nullptr;
}

BWindow* BWindow::ofThisThread()
{
    return tWindowOfThread;
}

int32_t BWindow::runMenu(BPoint screenWhere, int32_t items)
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
        if (inputReleased())
            break;
        futex::wait(&record_->wake_addon, seen, 100000);
    }
    __atomic_add_fetch(&record_->menu_closed, 1u, __ATOMIC_ACQ_REL);
    futex::bumpAndWake(&record_->wake_host);
    return choice >= 0 && choice < items ? choice : -1;
}

void BWindow::run()
{
    tWindowOfThread = this;
    while (!quitting_) {
        const uint32_t seen = load(&record_->wake_addon);
        bool busy = false;
        const uint32_t redraw = load(&record_->redraw_request);
        if (redrawPending_.exchange(false) || redraw != load(&record_->redraw_done)) {
            if (!lockFromThread())
                break;
            drawAll();
            Unlock();
            store(&record_->redraw_done, redraw);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        const uint32_t press = load(&record_->press_request);
        if (!quitting_ && press != load(&record_->press_done)) {
            if (!lockFromThread())
                break;
            deliverPress();
            Unlock();
            store(&record_->press_done, press);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        const uint32_t key = load(&record_->key_request);
        if (!quitting_ && key != load(&record_->key_done)) {
            if (!lockFromThread())
                break;
            deliverKey();
            Unlock();
            store(&record_->key_done, key);
            futex::bumpAndWake(&record_->wake_host);
            busy = true;
        }
        if (!busy)
            futex::wait(&record_->wake_addon, seen, 100000);
    }
    tWindowOfThread = nullptr;
    if (deleteWhenDone_)
        delete this;
}

uint32_t modifiers()
{
    std::lock_guard<std::mutex> hold(gLiveMutex);
    BWindow* window = tWindowOfThread;
    if (window == nullptr && !gLive.empty())
        window = gLive.back();
    return window != nullptr ? window->Modifiers() : 0;
}
