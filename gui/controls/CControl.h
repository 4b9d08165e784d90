// CControl: the base of every value-carrying widget: one float value with its
// range, the value at the last draw, a default, a tag, a listener and a
// background picture. Also the control style bits, one number space for all.
#pragma once

#include <cstdint>

#include "gui/CView.h"
#include "gui/controls/CControlListener.h"

class CBitmap;

inline constexpr int32_t kStyleHorizontal = 0x1;
inline constexpr int32_t kStyleTextShadow = 0x4;
inline constexpr int32_t kStyleMinLeft = 0x8;
inline constexpr int32_t kStyleMinRight = 0x10;
inline constexpr int32_t kStyleMinTop = 0x20;
inline constexpr int32_t kStyleMinBottom = 0x40;
inline constexpr int32_t kStyleSunken = 0x80;
inline constexpr int32_t kStyleRaised = 0x100;
inline constexpr int32_t kStyleMenuOnTop = 0x200;
inline constexpr int32_t kStyleMarkCurrent = 0x400;
inline constexpr int32_t kStyleNoText = 0x800;
inline constexpr int32_t kStyleNoDraw = 0x1000;

class CControl : public CView {
public:
    // Takes a reference on the background; the listener is borrowed and must
    // outlive the control.
    CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
    // Gives the background's reference back.
    ~CControl() override;

    void draw(CDrawContext* context) override = 0;
    // Dirty when the value moved since the last draw (NaN always counts as
    // moved) or when the flag is set.
    bool isDirty() override;
    // Setting also moves oldValue away from value, so the value test agrees;
    // clearing makes the current value the drawn one.
    void setDirty(bool flag) override;

    // Keeps the frame redrawing and paces a tracking loop; once per pass.
    virtual void doIdleStuff();
    // The setters only store: no clamping, no dirty flag, no notification.
    virtual void setValue(float newValue) { value = newValue; }
    virtual float getValue() { return value; }
    virtual void setMin(float newMin) { minValue = newMin; }
    virtual float getMin() { return minValue; }
    virtual void setMax(float newMax) { maxValue = newMax; }
    virtual float getMax() { return maxValue; }
    virtual void setOldValue(float newOld) { oldValue = newOld; }
    virtual float getOldValue() { return oldValue; }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() { return defaultValue; }
    // Moves the control's reference to the new picture; does not mark it dirty.
    virtual void setBackground(CBitmap* bitmap);
    virtual CBitmap* getBackground() { return background; }

    int32_t getTag() const { return tag; }
    CControlListener* getListener() const { return listener; }

protected:
    // Tells the listener, if the control has one.
    void notify(CDrawContext* context);
    // A picture of the control, see-through where white when the view's
    // transparency is on.
    void drawPicture(CBitmap* bitmap, CDrawContext* context, CRect& rect, const CPoint& from);
    // Swaps a held picture for another, keeping the reference counts right
    // even when both are the same.
    static void replacePicture(CBitmap*& held, CBitmap* bitmap);

    CControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    CBitmap* background = nullptr;
};
