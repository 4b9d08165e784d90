// The sliders' shared drawing (one offscreen composition per draw) and mouse
// tracking (default click, free or handle grab, fine adjustment with shift),
// written once along either axis.
#include "gui/controls/CSlider.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COffscreenContext.h"
#include "gui/MouseButtons.h"
#include "gui/controls/Saturate.h"

namespace {

constexpr int32_t kDefaultClick = kMousePrimary | kModCommand;
constexpr int32_t kFineDrag = kMousePrimary | kModShift;

// Only a plain or a shifted primary drag is tracked.
bool tracked(int32_t state)
{
    return state == kMousePrimary || state == kFineDrag;
}

int32_t along(const CPoint& p, bool vertical)
{
    return vertical ? p.v : p.h;
}

} // namespace

CSlider::CSlider(const CRect& rect, CControlListener* owner, int32_t controlTag, int32_t minimumPos,
                 int32_t maximumPos, CBitmap* handleBitmap, CBitmap* picture,
                 const CPoint& pictureOffset, int32_t styleBits, bool vertical)
    : CControl(rect, owner, controlTag, picture),
      handleWidth(handleBitmap ? handleBitmap->getWidth() : 1),
      handleHeight(handleBitmap ? handleBitmap->getHeight() : 1), offset(pictureOffset),
      minPos(minimumPos), maxPos(maximumPos), style(styleBits),
      controlWidth(rect.right - rect.left), controlHeight(rect.bottom - rect.top)
{
    replacePicture(handle, handleBitmap);
    if (vertical) {
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

CRect CSlider::handleRect(bool vertical)
{
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

void CSlider::drawSlider(CDrawContext* context, bool vertical)
{
    COffscreenContext offscreen(parent, controlWidth, controlHeight, colorBlack);
    CRect whole{0, 0, controlWidth, controlHeight};
    drawPicture(background, &offscreen, whole, offset);
    CRect place = handleRect(vertical);
    if (handle) {
        if (drawTransparentHandle)
            handle->drawTransparent(&offscreen, place, CPoint{0, 0});
        else
            handle->draw(&offscreen, place, CPoint{0, 0});
    }
    offscreen.copyFrom(context, size, CPoint{0, 0});
    handlePos = vertical ? size.top + place.top : size.left + place.left;
    setDirty(false);
}

bool CSlider::grabOffset(const CPoint& where, int32_t& grab, bool vertical) const
{
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
    grab = minPos + (along(where, vertical) - handlePos);
    return true;
}

float CSlider::rawValue(const CPoint& where, int32_t grab, bool vertical) const
{
    const int32_t mouseMinBit = vertical ? kStyleMinBottom : kStyleMinRight;
    const auto range = static_cast<float>(maxPos - minPos);
    float raw = static_cast<float>(along(where, vertical) - grab) / range;
    if (style & mouseMinBit)
        raw = 1.0f - raw;
    return raw;
}

void CSlider::trackMouse(CDrawContext* context, CPoint& where, bool vertical)
{
    if (!mouseEnabled)
        return;
    int32_t state = context->getMouseButtons();
    if (state == kDefaultClick) {
        value = getDefaultValue();
        if (isDirty())
            notify(context);
        return;
    }
    if (!tracked(state))
        return;
    int32_t grab = 0;
    if (!grabOffset(where, grab, vertical))
        return;

    float anchor = value;
    int32_t remembered = state;
    while (true) {
        state = context->getMouseButtons();
        if (!(state & kMousePrimary))
            break;
        // A shifted drag steps from the value where shift (or another key
        // with it) went down; without shift the anchor follows the value.
        if (state != remembered && (state & kModShift)) {
            remembered = state;
            anchor = value;
        } else if (!(state & kModShift)) {
            anchor = value;
        }
        value = rawValue(where, grab, vertical);
        if (state & kModShift)
            value = static_cast<float>(anchor + (value - anchor) / kFineDivisor);
        // NaN (a slider without travel) counts as 0.
        if (value < 0.0f || std::isnan(value))
            value = 0.0f;
        else if (value > 1.0f)
            value = 1.0f;
        if (isDirty())
            notify(context);
        context->getMouseLocation(where);
        doIdleStuff();
        // One pass is made with any other state that holds the primary
        // button, such as command pressed during the drag.
        if (!tracked(state))
            break;
    }
}

CVerticalSlider::CVerticalSlider(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                 int32_t minimumPos, int32_t maximumPos, CBitmap* handleBitmap,
                                 CBitmap* picture, const CPoint& pictureOffset, int32_t styleBits)
    : CSlider(rect, owner, controlTag, minimumPos, maximumPos, handleBitmap, picture, pictureOffset,
              styleBits, true)
{
}

void CVerticalSlider::draw(CDrawContext* context)
{
    drawSlider(context, true);
}

void CVerticalSlider::mouse(CDrawContext* context, CPoint& where)
{
    trackMouse(context, where, true);
}

CHorizontalSlider::CHorizontalSlider(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                     int32_t minimumPos, int32_t maximumPos, CBitmap* handleBitmap,
                                     CBitmap* picture, const CPoint& pictureOffset,
                                     int32_t styleBits)
    : CSlider(rect, owner, controlTag, minimumPos, maximumPos, handleBitmap, picture, pictureOffset,
              styleBits, false)
{
}

void CHorizontalSlider::draw(CDrawContext* context)
{
    drawSlider(context, false);
}

void CHorizontalSlider::mouse(CDrawContext* context, CPoint& where)
{
    trackMouse(context, where, false);
}
