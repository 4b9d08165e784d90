// The buttons' pictures and their press handling: the kick button's tracking
// loop with its three notifications, the on/off button's toggle on press.
#include "gui/controls/CButtons.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/MouseButtons.h"
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
    if (!mouseEnabled)
        return;
    if (!(context->getMouseButtons() & kMousePrimary))
        return;
    const float entryValue = value;
    const float pressed = entryValue == 0.0f ? 1.0f : 0.0f;
    int32_t state = context->getMouseButtons();
    if (state) {
        // Modifier bits count: the loop goes on while a key is held.
        do {
            value = size.pointInside(where) ? pressed : entryValue;
            if (isDirty())
                notify(context);
            context->getMouseLocation(where);
            doIdleStuff();
            state = context->getMouseButtons();
        } while (state);
    } else {
        // Released between the two reads: a click too short to track.
        value = value == 0.0f ? 1.0f : 0.0f;
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
    if (!mouseEnabled)
        return;
    if (!(context->getMouseButtons() & kMousePrimary))
        return;
    // The integer part decides, so 0.7 counts as off; a value beyond int
    // range saturates rather than converting undefined.
    value = saturatedTrunc(value) != 0 ? 0.0f : 1.0f;
    draw(context);
    notify(context);
}
