// The sliders' shared drawing (one offscreen composition per draw) and mouse
// rules (default click, free or handle grab, fine adjustment with shift),
// written once along either axis.
#include "gui/controls/CSlider.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COffscreenContext.h"
#include "gui/MouseButtons.h"
#include "gui/controls/Saturate.h"

CSlider::CSlider(const CRect& rect, CControlListener* owner, int32_t controlTag, int32_t minimumPos,
                 int32_t maximumPos, CBitmap* handleBitmap, CBitmap* picture,
                 const CPoint& pictureOffset, int32_t styleBits, Axis travel)
    : CControl(rect, owner, controlTag, picture),
      handleWidth(handleBitmap ? handleBitmap->getWidth() : 1),
      handleHeight(handleBitmap ? handleBitmap->getHeight() : 1), offset(pictureOffset),
      minPos(minimumPos), maxPos(maximumPos), style(styleBits),
      controlWidth(rect.right - rect.left), controlHeight(rect.bottom - rect.top), axis(travel)
{
    replacePicture(handle, handleBitmap);
    if (axis == Axis::Vertical) {
        minLimit = minPos - rect.top;
        maxLimit = maxPos + handleHeight - rect.top;
        handlePos = maxPos;
    } else {
        minLimit = minPos - rect.left;
        maxLimit = maxPos + handleWidth - rect.left;
        // Not given for this axis; where the handle of value 0 sits in the
        // usual kStyleMinLeft layout, as the vertical one starts at value 0.
        handlePos = minPos;
    }
}

CSlider::~CSlider()
{
    replacePicture(handle, nullptr);
}

void CSlider::setHandle(CBitmap* bitmap)
{
    replacePicture(handle, bitmap);
}

CRect CSlider::getHandleRect()
{
    const bool vertical = axis == Axis::Vertical;
    const int32_t drawMinBit = vertical ? kStyleMinTop : kStyleMinLeft;
    const float v = saneValue(value);
    const float f = (style & drawMinBit) ? v : 1.0f - v;
    // A value far outside 0 ... 1 (from setValue) would overflow the
    // conversion; the limits below hold the handle in any case.
    const int32_t travel = pixelTrunc(f * static_cast<float>(maxPos - minPos));
    CRect r;
    if (vertical) {
        r.left = offsetHandle.h;
        r.right = r.left + handleWidth;
        r.top = offsetHandle.v + travel;
        if (r.top < minLimit)
            r.top = minLimit;
        r.bottom = r.top + handleHeight;
        if (r.bottom > maxLimit)
            r.bottom = maxLimit;
    } else {
        r.top = offsetHandle.v;
        r.bottom = r.top + handleHeight;
        r.left = offsetHandle.h + travel;
        if (r.left < minLimit)
            r.left = minLimit;
        r.right = r.left + handleWidth;
        if (r.right > maxLimit)
            r.right = maxLimit;
    }
    return r;
}

void CSlider::draw(CDrawContext* context)
{
    COffscreenContext offscreen(parent, controlWidth, controlHeight, colorBlack);
    CRect whole{0, 0, controlWidth, controlHeight};
    drawPicture(background, &offscreen, whole, offset);
    CRect place = getHandleRect();
    if (handle) {
        if (drawTransparentHandle)
            handle->drawTransparent(&offscreen, place, CPoint{0, 0});
        else
            handle->draw(&offscreen, place, CPoint{0, 0});
    }
    offscreen.copyFrom(context, size, CPoint{0, 0});
    handlePos = axis == Axis::Vertical ? size.top + place.top : size.left + place.left;
    setDirty(false);
}

bool CSlider::getGrabOffset(const CPoint& where, int32_t& grab) const
{
    const bool vertical = axis == Axis::Vertical;
    const int32_t length = vertical ? handleHeight : handleWidth;
    if (freeClick) {
        // The handle's middle follows the mouse.
        grab = minPos + length / 2 - 1;
        return true;
    }
    const CRect hit =
        vertical ? CRect{size.left, handlePos, size.left + handleWidth, handlePos + handleHeight}
                 : CRect{handlePos, size.top, handlePos + handleWidth, size.top + handleHeight};
    if (!hit.pointInside(where))
        return false;
    // The handle keeps its place under the mouse.
    grab = minPos + (along(where, axis) - handlePos);
    return true;
}

float CSlider::getValueAt(const CPoint& where, int32_t grab) const
{
    const int32_t mouseMinBit = axis == Axis::Vertical ? kStyleMinBottom : kStyleMinRight;
    const auto range = static_cast<float>(maxPos - minPos);
    float raw = static_cast<float>(along(where, axis) - grab) / range;
    if (style & mouseMinBit)
        raw = 1.0f - raw;
    return raw;
}

void CSlider::mouse(CDrawContext* context, CPoint& where)
{
    const int32_t click = press(context);
    if (!click || restoreDefault(context, click) || !plainOrFineDrag(click))
        return;
    int32_t grab = 0;
    if (!getGrabOffset(where, grab))
        return;
    // A fine drag steps from the value where the fine key (or another key
    // with it) went down; without it the anchor follows the value.
    float anchor = value;
    int32_t remembered = click;
    auto fine = [&](const CPoint& at, int32_t state) {
        if (state != remembered && (state & kModFine)) {
            remembered = state;
            anchor = value;
        } else if (!(state & kModFine)) {
            anchor = value;
        }
        const float raw = getValueAt(at, grab);
        if (state & kModFine)
            return static_cast<float>(anchor + (raw - anchor) / kFineDivisor);
        return raw;
    };
    // NaN (a slider without travel) counts as 0.
    track(context, where, DragRules{DragEnd::ReleaseOrOther, DragLimits::Unit}, fine);
}

CVerticalSlider::CVerticalSlider(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                 int32_t minimumPos, int32_t maximumPos, CBitmap* handleBitmap,
                                 CBitmap* picture, const CPoint& pictureOffset, int32_t styleBits)
    : CSlider(rect, owner, controlTag, minimumPos, maximumPos, handleBitmap, picture, pictureOffset,
              styleBits, Axis::Vertical)
{
}

CHorizontalSlider::CHorizontalSlider(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                     int32_t minimumPos, int32_t maximumPos, CBitmap* handleBitmap,
                                     CBitmap* picture, const CPoint& pictureOffset,
                                     int32_t styleBits)
    : CSlider(rect, owner, controlTag, minimumPos, maximumPos, handleBitmap, picture, pictureOffset,
              styleBits, Axis::Horizontal)
{
}
