// COffscreenContext: the picture and its view are made and locked in the
// constructor and go together in the destructor.
#include "gui/COffscreenContext.h"

#include <new>

#include "gui/CBitmap.h"
#include "platform/api/Bitmap.h"
#include "platform/api/GraphicsDefs.h"
#include "platform/api/Rect.h"
#include "platform/api/View.h"

namespace {

// A negative size makes an empty picture rather than an inverted rectangle.
int32_t pictureSide(long side)
{
    return side < 0 ? 0 : (side > 1 << 16 ? 1 << 16 : static_cast<int32_t>(side));
}

} // namespace

COffscreenContext::COffscreenContext(CFrame* frame, long w, long h, const CColor background)
    : CDrawContext(frame, nullptr, nullptr)
{
    width = pictureSide(w);
    height = pictureSide(h);
    createPicture();
    if (!platformView || isTransparentKey(background))
        return;
    platformView->SetHighColor(platformColor<rgb_color>(background));
    platformView->FillRect(
        BRect(0.0f, 0.0f, static_cast<float>(width - 1), static_cast<float>(height - 1)),
        B_SOLID_HIGH);
}

COffscreenContext::COffscreenContext(CDrawContext* context, CBitmap* bitmap)
    : CDrawContext(context ? context->getFrame() : nullptr, nullptr, nullptr)
{
    width = bitmap ? bitmap->getWidth() : 20;
    height = bitmap ? bitmap->getHeight() : 20;
    createPicture();
    CRect whole{0, 0, width, height};
    if (bitmap) {
        bitmap->draw(this, whole, CPoint{});
    } else {
        setFillColor(CColor{0, 0, 0, 0});
        fillRect(whole);
    }
}

void COffscreenContext::createPicture()
{
    const BRect bounds(0.0f, 0.0f, static_cast<float>(width - 1), static_cast<float>(height - 1));
    platformBitmap = new (std::nothrow) BBitmap(bounds, B_RGB16, true, false);
    if (!platformBitmap)
        return;
    auto* view = new (std::nothrow) BView(bounds, nullptr, 0, 0);
    if (!view)
        return;
    // Locked for the context's whole life: drawing into it needs no more locking.
    platformBitmap->Lock();
    platformBitmap->AddChild(view);
    setPlatformView(view);
}

COffscreenContext::~COffscreenContext()
{
    // The picture deletes its attached view; the base part must then neither
    // flush nor unlock anything.
    delete platformBitmap;
    setPlatformView(nullptr);
}

void COffscreenContext::copyFrom(CDrawContext* context, CRect destination, CPoint sourceOffset)
{
    BView* target = context ? context->getPlatformView() : nullptr;
    if (!target || !platformBitmap || !platformView)
        return;
    target->SetDrawingMode(B_OP_COPY);
    const BRect to = platformRect<BRect>(destination);
    BRect from = to;
    from.OffsetTo(static_cast<float>(sourceOffset.h), static_cast<float>(sourceOffset.v));
    platformView->Sync();
    target->DrawBitmap(platformBitmap, from, to);
}

void COffscreenContext::transfert(CDrawContext* context, CRect destination, CPoint sourceOffset)
{
    copyFrom(context, destination, sourceOffset);
}
