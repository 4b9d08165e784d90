// BBitmap: an offscreen picture of 32-bit pixels that views can draw into.
//
// Whatever colour space is asked for, the memory holds 32 bits per pixel in
// blue, green, red, alpha byte order (B_RGB16 included: its callers only need
// the toolkit's colours and the transparent marker to survive), rows of
// exactly 4 x width bytes. ColorSpace() reports that layout: B_RGBA32 when
// asked for, else B_RGB32. A new bitmap is all bytes 0xFF: opaque white,
// the colour that counts as "left as created" for a transparent background.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/GraphicsDefs.h"
#include "platform/api/Looper.h"
#include "platform/api/Rect.h"
#include "platform/api/SupportDefs.h"
#include "platform/api/ViewHost.h"

class BView;

class BBitmap : private ViewHost {
public:
    // Bounds are inclusive; their width and height must be at least 1 pixel.
    // B_NO_COLOR_SPACE or an unknown space, or an absurd size, leaves the
    // bitmap without pixels and InitCheck() answers why.
    BBitmap(BRect bounds, color_space space, bool acceptsViews = false,
            bool needsContiguous = false);
    // Deletes the attached views.
    ~BBitmap();
    BBitmap(const BBitmap&) = delete;
    BBitmap& operator=(const BBitmap&) = delete;

    status_t InitCheck() const { return status_; }
    BRect Bounds() const { return bounds_; }
    void* Bits() { return bits_.empty() ? nullptr : bits_.data(); }
    const void* Bits() const { return bits_.empty() ? nullptr : bits_.data(); }
    int32_t BitsLength() const { return static_cast<int32_t>(bits_.size()); }
    int32_t BytesPerRow() const { return bytesPerRow_; }
    color_space ColorSpace() const { return space_; }

    // The lock views attached to the bitmap take with LockLooper.
    bool Lock() { return lock_.Lock(); }
    void Unlock() { lock_.Unlock(); }
    bool IsLocked() const { return lock_.IsLocked(); }

    // Only a bitmap that accepts views takes them; the bitmap owns them.
    void AddChild(BView* view);
    bool RemoveChild(BView* view);
    int32_t CountChildren() const { return static_cast<int32_t>(children_.size()); }
    BView* ChildAt(int32_t index) const;

private:
    friend class BView;

    PixelBuffer pixels() const;

    PixelBuffer hostPixels() override { return pixels(); }
    BLooper* hostLooper() override { return &lock_; }
    BWindow* hostWindow() override { return nullptr; }
    void hostRemoveTop(BView* view) override;

    BRect bounds_;
    color_space space_ = B_NO_COLOR_SPACE;
    bool acceptsViews_;
    status_t status_ = B_NO_INIT;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t bytesPerRow_ = 0;
    std::vector<uint8_t> bits_;
    BLooper lock_;
    std::vector<BView*> children_;
};
