// CControlListener: the one operation through which a control tells its
// owner that the user changed it.
#pragma once

class CControl;
class CDrawContext;

class CControlListener {
public:
    // Window thread, window locked. context is the one of the mouse event
    // being handled, valid for the call only; control is the sender.
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;

protected:
    // Never deleted through this interface: it is a second base of its owner.
    ~CControlListener() = default;
};
