// CControl: the dirty test, the background's reference, the listener call and
// the idle pass that keeps the frame drawing during a drag.
#include "gui/controls/CControl.h"

#include "gui/AEffGUIEditor.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"

CControl::CControl(const CRect& rect, CControlListener* owner, int32_t controlTag, CBitmap* picture)
    : CView(rect), listener(owner), tag(controlTag)
{
    transparencyEnabled = false;
    mouseEnabled = true;
    replacePicture(background, picture);
}

CControl::~CControl()
{
    replacePicture(background, nullptr);
}

bool CControl::isDirty()
{
    return value != oldValue || CView::isDirty();
}

void CControl::setDirty(bool flag)
{
    CView::setDirty(flag);
    if (flag)
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    else
        oldValue = value;
}

void CControl::doIdleStuff()
{
    if (parent && parent->getEditor())
        parent->getEditor()->doIdleStuff();
}

void CControl::setBackground(CBitmap* bitmap)
{
    replacePicture(background, bitmap);
}

void CControl::notify(CDrawContext* context)
{
    if (listener)
        listener->valueChanged(context, this);
}

void CControl::drawPicture(CBitmap* bitmap, CDrawContext* context, CRect& rect, const CPoint& from)
{
    if (!bitmap)
        return;
    if (transparencyEnabled)
        bitmap->drawTransparent(context, rect, from);
    else
        bitmap->draw(context, rect, from);
}

void CControl::replacePicture(CBitmap*& held, CBitmap* bitmap)
{
    // Remember first: forgetting first would destroy a picture that is
    // handed back to the control that holds its last reference.
    if (bitmap)
        bitmap->remember();
    if (held)
        held->forget();
    held = bitmap;
}
