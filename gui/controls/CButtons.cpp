// The buttons' pictures and their press handling: the kick button's drag
// with its three notifications, the on/off button's toggle on press.
#include "gui/controls/CButtons.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/controls/Saturate.h"

CKickButton::CKickButton(const CRect& rect, CControlListener* owner, int32_t controlTag,
                         int32_t pictureHeight, CBitmap* picture, const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageHeight(pictureHeight)
{
}

CPoint CKickButton::getPictureOrigin() const
{
    CPoint p = offset;
    if (value != 0.0f && !std::isnan(value))
        p.v += imageHeight;
    return p;
}

void CKickButton::draw(CDrawContext* context)
{
    // NaN counts as 0, the resting state.
    if (value > 1.0f)
        value = 1.0f;
    else if (value < 0.0f || std::isnan(value))
        value = 0.0f;
    drawPicture(background, context, size, getPictureOrigin());
    setDirty(false);
}

void CKickButton::mouse(CDrawContext* context, CPoint& where)
{
    if (!press(context))
        return;
    const float entryValue = value;
    const float pressed = entryValue == 0.0f ? 1.0f : 0.0f;
    // Modifier bits count: the drag goes on while a key is held.
    if (const int32_t first = context->getMouseButtons()) {
        track(
            context, where, DragRules{DragEnd::AllUp},
            [&](const CPoint& at, int32_t) { return size.pointInside(at) ? pressed : entryValue; },
            first);
    } else {
        // Released between the two reads: a click too short to track.
        value = pressed;
        notify(context);
    }
    value = 0.0f;
    notify(context);
}

COnOffButton::COnOffButton(const CRect& rect, CControlListener* owner, int32_t controlTag,
                           CBitmap* picture)
    : CControl(rect, owner, controlTag, picture)
{
}

int32_t COnOffButton::getPictureRow() const
{
    if (value != 0.0f && !std::isnan(value) && background)
        return background->getHeight() / 2;
    return 0;
}

void COnOffButton::draw(CDrawContext* context)
{
    drawPicture(background, context, size, CPoint{0, getPictureRow()});
    setDirty(false);
}

void COnOffButton::mouse(CDrawContext* context, CPoint& /*where*/)
{
    if (!press(context))
        return;
    // The integer part decides, so 0.7 counts as off; a value beyond int
    // range saturates rather than converting undefined.
    value = saturatedTrunc(value) != 0 ? 0.0f : 1.0f;
    draw(context);
    notify(context);
}
