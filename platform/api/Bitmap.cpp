// BBitmap: the pixel memory, its lock and its views.
#include "platform/api/Bitmap.h"

#include <algorithm>
#include <new>

#include "platform/api/View.h"
#include "platform/pixels/PixelRect.h"

namespace pr = pixel_rect;

namespace {

// Keeps BitsLength() inside an int32.
constexpr int64_t kMostBytes = INT32_MAX;

} // namespace

BBitmap::BBitmap(BRect bounds, color_space space, bool acceptsViews, bool)
    : bounds_(bounds), acceptsViews_(acceptsViews)
{
    if (space != B_RGB16 && space != B_RGB32 && space != B_RGBA32) {
        status_ = B_BAD_VALUE;
        return;
    }
    space_ = space == B_RGBA32 ? B_RGBA32 : B_RGB32;
    const int64_t width = int64_t{pr::pixel(bounds.right)} - pr::pixel(bounds.left) + 1;
    const int64_t height = int64_t{pr::pixel(bounds.bottom)} - pr::pixel(bounds.top) + 1;
    if (width < 1 || height < 1 || width * height * 4 > kMostBytes) {
        status_ = B_BAD_VALUE;
        return;
    }
    try {
        bits_.assign(static_cast<size_t>(width * height * 4), 0xFF);
    } catch (const std::bad_alloc&) {
        status_ = B_NO_MEMORY;
        return;
    }
    width_ = static_cast<int32_t>(width);
    height_ = static_cast<int32_t>(height);
    bytesPerRow_ = width_ * 4;
    status_ = B_OK;
}

BBitmap::~BBitmap()
{
    std::vector<BView*> children;
    children.swap(children_);
    for (BView* child : children) {
        child->detachTree(true);
        delete child;
    }
    // The lock must not die held.
    while (lock_.IsLocked())
        lock_.Unlock();
}

PixelBuffer BBitmap::pixels() const
{
    if (status_ != B_OK)
        return {};
    return {const_cast<uint8_t*>(bits_.data()), width_, height_, bytesPerRow_};
}

void BBitmap::AddChild(BView* view)
{
    if (view == nullptr || !acceptsViews_ || status_ != B_OK || view->parent_ != nullptr ||
        view->host_ != nullptr) {
        return;
    }
    children_.push_back(view);
    view->attachTree(this);
}

bool BBitmap::RemoveChild(BView* view)
{
    if (view == nullptr || view->parent_ != nullptr ||
        std::find(children_.begin(), children_.end(), view) == children_.end()) {
        return false;
    }
    view->detachTree(true);
    hostRemoveTop(view);
    return true;
}

BView* BBitmap::ChildAt(int32_t index) const
{
    if (index < 0 || index >= CountChildren())
        return nullptr;
    return children_[static_cast<size_t>(index)];
}

void BBitmap::hostRemoveTop(BView* view)
{
    children_.erase(std::remove(children_.begin(), children_.end(), view), children_.end());
}
