// BWindow: its views, its thread over the back end's event loop, the
// delivery of redraws, presses and keys to views; modifiers().
#include "platform/api/Window.h"

#include <algorithm>
#include <mutex>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/View.h"
#include "platform/backends/WindowBackend.h"

// The window as its back end's thread sees it.
class BWindow::Events final : public WindowEvents {
public:
    explicit Events(BWindow& window) : w(window) {}
    bool quitting() const override { return w.quitting_; }
    bool takeRedrawRequest() override { return w.redrawPending_.exchange(false); }
    bool deliverRedraw() override { return w.deliverRedraw(); }
    bool deliverPress(const WindowPress& press) override { return w.deliverPress(press); }
    bool deliverKey(const char* bytes, int32_t length, uint32_t modifiers) override
    {
        return w.deliverKey(bytes, length, modifiers);
    }
    bool wantsKeys() const override { return w.focus_ != nullptr; }

private:
    BWindow& w;
};

namespace {

// The windows alive, oldest first, for modifiers() off the window threads.
std::mutex gLiveMutex;
std::vector<BWindow*> gLive;
thread_local BWindow* tWindowOfThread = nullptr;

} // namespace

BWindow* BWindow::Adopt(std::unique_ptr<WindowBackend> backend)
{
    if (backend == nullptr)
        return nullptr;
    auto* window = new BWindow(std::move(backend));
    window->AddChild(new BView(window->Bounds(), "host view", B_FOLLOW_ALL, 0));
    window->Show();
    return window;
}

BWindow::BWindow(std::unique_ptr<WindowBackend> backend)
    : backend_(std::move(backend)), width_(static_cast<float>(backend_->surface().width - 1)),
      height_(static_cast<float>(backend_->surface().height - 1))
{
    std::lock_guard<std::mutex> hold(gLiveMutex);
    gLive.push_back(this);
}

BWindow::~BWindow()
{
    quitting_ = true;
    backend_->wake();
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
    // The picture is whole again before the back end lets go.
    LastUnlock();
    while (IsLocked())
        Unlock();
    backend_->detach();
    backend_.reset();
}

bool BWindow::IsHidden() const
{
    return !backend_->visible();
}

void BWindow::hostWillDraw(const clipping_rect& area)
{
    backend_->beginDrawing(area);
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

void BWindow::EndInput()
{
    quitting_ = true;
    backend_->wake();
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
    f.OffsetTo(backend_->screenOrigin());
    return f;
}

BPoint BWindow::hostScreenOrigin()
{
    return backend_->screenOrigin();
}

void BWindow::ResizeBy(float dx, float dy)
{
    width_ = std::max(0.0f, width_ + dx);
    height_ = std::max(0.0f, height_ + dy);
    for (BView* child : children_) {
        if (child->ResizingMode() == B_FOLLOW_ALL)
            child->ResizeBy(dx, dy);
    }
    backend_->contentResized(static_cast<int32_t>(width_) + 1, static_cast<int32_t>(height_) + 1);
}

void BWindow::ResizeTo(float width, float height)
{
    ResizeBy(width - width_, height - height_);
}

void BWindow::RequestRedraw()
{
    redrawPending_ = true;
    backend_->wake();
}

PixelBuffer BWindow::hostPixels()
{
    return backend_->surface();
}

void BWindow::LastUnlock()
{
    backend_->present();
}

// A quitting window reads every button as released, so no tracking loop can
// hold it open.
void BWindow::hostPointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* modifiers)
{
    backend_->pointer(x, y, buttons, modifiers);
    if (quitting_)
        *buttons = *modifiers = 0;
}

uint32_t BWindow::Modifiers() const
{
    const uint32_t keys = backend_->modifiers();
    return quitting_ ? 0 : keys;
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

bool BWindow::deliverRedraw()
{
    if (!lockFromThread())
        return false;
    drawAll();
    Unlock();
    return true;
}

bool BWindow::deliverPress(const WindowPress& press)
{
    if (!lockFromThread())
        return false;
    BView* target = nullptr;
    for (auto it = children_.rbegin(); it != children_.rend() && target == nullptr; ++it) {
        target = (*it)->viewAt({static_cast<float>(press.x), static_cast<float>(press.y)});
    }
    if (target != nullptr) {
        int32_t ox = 0;
        int32_t oy = 0;
        target->originInHost(&ox, &oy);
        const BPoint where{static_cast<float>(press.x - ox), static_cast<float>(press.y - oy)};
        BMessage message(B_MOUSE_DOWN);
        message.AddInt32("buttons", static_cast<int32_t>(press.buttons));
        message.AddInt32("modifiers", static_cast<int32_t>(press.modifiers));
        message.AddInt32("clicks", static_cast<int32_t>(press.clicks));
        message.AddPoint("where", where);
        current_ = &message;
        target->MouseDown(where);
        current_ = nullptr;
    }
    Unlock();
    return true;
}

// The view is not touched after KeyDown returns: the hook may have deleted it.
bool BWindow::deliverKey(const char* bytes, int32_t length, uint32_t modifiers)
{
    if (!lockFromThread())
        return false;
    BView* target = focus_;
    if (target != nullptr && length > 0) {
        BMessage message(B_KEY_DOWN);
        message.AddString("bytes", bytes);
        message.AddInt32("modifiers", static_cast<int32_t>(modifiers));
        message.AddInt32("key", static_cast<uint8_t>(bytes[0]));
        current_ = &message;
        target->KeyDown(bytes, length);
        current_ = nullptr;
    }
    Unlock();
    return true;
}

BWindow* BWindow::ofThisThread()
{
    return tWindowOfThread;
}

int32_t BWindow::runMenu(BPoint screenWhere, const char* const* labels, int32_t items)
{
    Events events(*this);
    return backend_->runMenu(events, screenWhere, labels, items);
}

void BWindow::run()
{
    tWindowOfThread = this;
    Events events(*this);
    backend_->run(events);
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
