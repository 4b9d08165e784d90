// CControl: the dirty test, the background's reference, the listener call,
// the idle pass that keeps the frame drawing during a drag, and the press and
// tracking loop with the endings and limits the controls choose from.
#include "gui/controls/CControl.h"

#include <cmath>

#include "gui/AEffGUIEditor.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
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

int32_t CControl::press(CDrawContext* context, int32_t buttons)
{
    if (!mouseEnabled)
        return 0;
    const int32_t state = context->getMouseButtons();
    return (state & buttons) ? state : 0;
}

bool CControl::restoreDefault(CDrawContext* context, int32_t state)
{
    if (state != kDefaultClick)
        return false;
    value = getDefaultValue();
    if (isDirty())
        notify(context);
    return true;
}

bool CControl::plainOrFineDrag(int32_t state)
{
    return state == kMousePrimary || state == (kMousePrimary | kModFine);
}

int32_t CControl::track(CDrawContext* context, CPoint& where, const DragRules& rules,
                        ValueAt valueAt, int32_t first)
{
    int32_t passes = 0;
    int32_t state = first;
    while (true) {
        if (passes > 0 || first == 0)
            state = context->getMouseButtons();
        if (!makesPass(rules, state))
            break;
        if (passes == 0 && listener)
            listener->controlBeginEdit(this);
        value = limited(valueAt(where, state), rules.limits);
        if (isDirty())
            notify(context);
        context->getMouseLocation(where);
        doIdleStuff();
        passes++;
        if (lastPass(rules.end, state))
            break;
    }
    if (passes > 0 && listener)
        listener->controlEndEdit(this);
    return passes;
}

bool CControl::makesPass(const DragRules& rules, int32_t state)
{
    switch (rules.end) {
    case DragEnd::Release: return true;
    case DragEnd::ReleaseOrOther: return (state & kMousePrimary) != 0;
    case DragEnd::AllUp: return state != 0;
    case DragEnd::Change: return state == rules.click;
    }
    return false;
}

bool CControl::lastPass(DragEnd end, int32_t state)
{
    switch (end) {
    case DragEnd::Release: return (state & kMousePrimary) == 0;
    // One pass is made with any other word that holds the primary button,
    // such as command pressed during a slider drag.
    case DragEnd::ReleaseOrOther: return !plainOrFineDrag(state);
    case DragEnd::AllUp:
    case DragEnd::Change: return false;
    }
    return true;
}

float CControl::limited(float v, DragLimits limits) const
{
    switch (limits) {
    case DragLimits::None: return v;
    case DragLimits::Unit:
        if (v < 0.0f || std::isnan(v))
            return 0.0f;
        return v > 1.0f ? 1.0f : v;
    case DragLimits::Range:
        // High first: a range set upside down ends at its maximum.
        if (v > maxValue)
            return maxValue;
        return v < minValue ? minValue : v;
    }
    return v;
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
