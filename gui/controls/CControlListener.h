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
    // Window thread, window locked: around a drag (a press held over passes
    // of the tracking loop), before its first value and after its last, so
    // that a host can tell a gesture from single changes.
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}

protected:
    // Never deleted through this interface: it is a second base of its owner.
    ~CControlListener() = default;
};
