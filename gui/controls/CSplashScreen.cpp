// The splash screen: showing the picture as the frame's modal view over its
// own rectangle, and hiding it again with the control's size put back.
#include "gui/controls/CSplashScreen.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

CSplashScreen::CSplashScreen(const CRect& rect, CControlListener* owner, int32_t controlTag,
                             CBitmap* picture, const CRect& pictureRect,
                             const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), splashRect(pictureRect), offset(pictureOffset)
{
}

void CSplashScreen::draw(CDrawContext* context)
{
    if (value == 0.0f || !background)
        return;
    // A show the frame refused leaves the value at 1; the picture must not
    // appear over the editor without being the modal view that hides it.
    if (parent && !shown)
        return;
    drawPicture(background, context, splashRect, offset);
}

void CSplashScreen::mouse(CDrawContext* context, CPoint& /*where*/)
{
    if (!press(context))
        return;
    // Whether the picture is up decides, not the value: after a refused
    // show the value is 1 with nothing to hide, and a hide would put back a
    // size that was never saved.
    if (!shown) {
        value = 1.0f;
        if (!parent || !parent->setModalView(this))
            return;
        shown = true;
        savedSize = size;
        size = splashRect;
        draw(context);
        notify(context);
        return;
    }
    value = 0.0f;
    shown = false;
    size = savedSize;
    if (parent) {
        parent->setModalView(nullptr);
        parent->draw(context);
    }
    notify(context);
}
