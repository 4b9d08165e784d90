// BView: the view tree, geometry, locking, the pointer and the keyboard
// focus. The primitives are in ViewDrawing.cpp.
#include "platform/api/View.h"

#include <algorithm>

#include "platform/api/Looper.h"
#include "platform/api/ViewHost.h"
#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

BView::BView(BRect frame, const char* name, uint32_t resizingMode, uint32_t flags)
    : name_(name != nullptr ? name : ""), frame_(frame), resizingMode_(resizingMode), flags_(flags)
{
}

BView::~BView()
{
    if (goneFlag_ != nullptr)
        *goneFlag_ = true;
    if (host_ != nullptr && holdsFocus())
        host_->hostSetFocus(nullptr);
    unlinkQuietly();
    std::vector<BView*> children;
    children.swap(children_);
    for (BView* child : children) {
        child->parent_ = nullptr;
        child->host_ = nullptr;
        delete child;
    }
}

void BView::Draw(BRect) {}
void BView::MouseDown(BPoint) {}
void BView::KeyDown(const char*, int32_t) {}
void BView::AttachedToWindow() {}
void BView::DetachedFromWindow() {}

void BView::unlinkQuietly()
{
    if (parent_ != nullptr) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_ = nullptr;
    } else if (host_ != nullptr) {
        host_->hostRemoveTop(this);
    }
    host_ = nullptr;
}

// Parents first, as the original platform does.
void BView::attachTree(ViewHost* host)
{
    host_ = host;
    if (host != nullptr)
        AttachedToWindow();
    for (BView* child : children_)
        child->attachTree(host);
}

void BView::detachTree(bool notify)
{
    if (notify && host_ != nullptr)
        DetachedFromWindow();
    for (BView* child : children_)
        child->detachTree(notify);
    host_ = nullptr;
}

void BView::AddChild(BView* child, BView* before)
{
    if (child == nullptr || child == this || child->parent_ != nullptr || child->host_ != nullptr) {
        return;
    }
    auto at = std::find(children_.begin(), children_.end(), before);
    children_.insert(at, child);
    child->parent_ = this;
    if (host_ != nullptr)
        child->attachTree(host_);
}

bool BView::holdsFocus() const
{
    if (host_ == nullptr)
        return false;
    for (const BView* v = host_->hostFocus(); v != nullptr; v = v->parent_) {
        if (v == this)
            return true;
    }
    return false;
}

// The focus view is told while it is still attached; the pointer is not
// used after the call, since the hook may delete the view.
void BView::releaseFocus()
{
    if (!holdsFocus())
        return;
    ViewHost* host = host_;
    BView* focus = host->hostFocus();
    focus->MakeFocus(false);
    // An override that does not reach BView::MakeFocus loses the focus all the same.
    if (host->hostFocus() == focus)
        host->hostSetFocus(nullptr);
}

bool BView::releaseFocusBeforeLeaving()
{
    bool gone = false;
    bool* outer = goneFlag_;
    goneFlag_ = &gone;
    releaseFocus();
    if (gone) {
        if (outer != nullptr)
            *outer = true;
        return false;
    }
    goneFlag_ = outer;
    return true;
}

void BView::MakeFocus(bool focus)
{
    if (host_ == nullptr)
        return;
    BView* old = host_->hostFocus();
    if (!focus) {
        if (old == this)
            host_->hostSetFocus(nullptr);
        return;
    }
    if (old == this)
        return;
    host_->hostSetFocus(this);
    if (old != nullptr)
        old->MakeFocus(false);
}

bool BView::IsFocus() const
{
    return host_ != nullptr && host_->hostFocus() == this;
}

bool BView::RemoveChild(BView* child)
{
    if (child == nullptr || child->parent_ != this)
        return false;
    // The focus hook may remove or delete the child itself.
    if (!child->releaseFocusBeforeLeaving())
        return true;
    if (child->parent_ != this)
        return true;
    child->detachTree(true);
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    child->parent_ = nullptr;
    return true;
}

bool BView::RemoveSelf()
{
    if (parent_ != nullptr)
        return parent_->RemoveChild(this);
    if (host_ == nullptr)
        return false;
    if (!releaseFocusBeforeLeaving() || host_ == nullptr)
        return true;
    ViewHost* host = host_;
    detachTree(true);
    host->hostRemoveTop(this);
    return true;
}

BView* BView::ChildAt(int32_t index) const
{
    if (index < 0 || index >= CountChildren())
        return nullptr;
    return children_[static_cast<size_t>(index)];
}

void BView::ResizeBy(float dx, float dy)
{
    frame_.right += dx;
    frame_.bottom += dy;
    for (BView* child : children_) {
        if (child->resizingMode_ == B_FOLLOW_ALL)
            child->ResizeBy(dx, dy);
    }
}

void BView::ResizeTo(float width, float height)
{
    ResizeBy(width - frame_.Width(), height - frame_.Height());
}

void BView::originInHost(int32_t* x, int32_t* y) const
{
    int32_t ox = 0;
    int32_t oy = 0;
    for (const BView* v = this; v != nullptr; v = v->parent_) {
        ox += pr::pixel(v->frame_.left);
        oy += pr::pixel(v->frame_.top);
    }
    *x = ox;
    *y = oy;
}

void BView::ConvertToScreen(BPoint* point) const
{
    if (point == nullptr)
        return;
    int32_t ox = 0;
    int32_t oy = 0;
    originInHost(&ox, &oy);
    const BPoint screen = host_ != nullptr ? host_->hostScreenOrigin() : BPoint();
    point->x += static_cast<float>(ox) + screen.x;
    point->y += static_cast<float>(oy) + screen.y;
}

void BView::ConvertFromScreen(BPoint* point) const
{
    if (point == nullptr)
        return;
    BPoint zero;
    ConvertToScreen(&zero);
    point->x -= zero.x;
    point->y -= zero.y;
}

BView* BView::viewAt(BPoint point)
{
    if (!frame_.Contains(point))
        return nullptr;
    const BPoint inside{point.x - frame_.left, point.y - frame_.top};
    // The last child is drawn last, so it is the one on top.
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        if (BView* hit = (*it)->viewAt(inside))
            return hit;
    }
    return this;
}

BWindow* BView::Window() const
{
    return host_ != nullptr ? host_->hostWindow() : nullptr;
}

bool BView::LockLooper()
{
    BLooper* looper = host_ != nullptr ? host_->hostLooper() : nullptr;
    return looper != nullptr && looper->Lock();
}

status_t BView::LockLooperWithTimeout(bigtime_t timeout)
{
    BLooper* looper = host_ != nullptr ? host_->hostLooper() : nullptr;
    return looper != nullptr ? looper->LockWithTimeout(timeout) : B_BAD_VALUE;
}

void BView::UnlockLooper()
{
    if (BLooper* looper = host_ != nullptr ? host_->hostLooper() : nullptr)
        looper->Unlock();
}

void BView::GetMouse(BPoint* location, uint32_t* buttons, bool, uint32_t* modifiers)
{
    int32_t x = 0;
    int32_t y = 0;
    uint32_t held = 0;
    uint32_t keys = 0;
    if (host_ != nullptr)
        host_->hostPointer(&x, &y, &held, &keys);
    int32_t ox = 0;
    int32_t oy = 0;
    originInHost(&ox, &oy);
    if (location != nullptr)
        *location = {static_cast<float>(x - ox), static_cast<float>(y - oy)};
    if (buttons != nullptr)
        *buttons = held;
    if (modifiers != nullptr)
        *modifiers = keys;
}

void BView::Flush()
{
    if (host_ != nullptr)
        host_->hostFlush();
}

void BView::Sync()
{
    Flush();
}

void BView::Invalidate()
{
    if (host_ != nullptr)
        host_->hostInvalidate();
}

void BView::Invalidate(BRect)
{
    Invalidate();
}

void BView::DrawNow()
{
    if (host_ != nullptr)
        drawTree();
}
