// The bitmap sliders: a handle picture moving over a piece of the background.
// CSlider holds what both share (fields, drawing, mouse, written once along
// its axis); CVerticalSlider and CHorizontalSlider pick the axis.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CSlider : public CControl {
public:
    // Gives the handle's reference back; the control part releases the background.
    ~CSlider() override;

    void draw(CDrawContext* context) override;
    // Tracks until the primary button is released; where ends as the last
    // mouse position read.
    void mouse(CDrawContext* context, CPoint& where) override;

    // None of these marks the control dirty.
    virtual void setDrawTransparentHandle(bool flag) { drawTransparentHandle = flag; }
    virtual void setFreeClick(bool flag) { freeClick = flag; }
    virtual bool getFreeClick() { return freeClick; }
    virtual void setOffsetHandle(CPoint& point) { offsetHandle = point; }
    // The handle's size and limits stay those of the constructor's handle.
    virtual void setHandle(CBitmap* bitmap);
    virtual CBitmap* getHandle() { return handle; }

    // The handle for the current value, in the control's own coordinates.
    CRect getHandleRect();
    // The value under the mouse, before fine adjustment and clamping.
    float getValueAt(const CPoint& where, int32_t grab) const;
    // Where the mouse grabs the handle; false for a click beside the handle
    // of a slider without free click.
    bool getGrabOffset(const CPoint& where, int32_t& grab) const;

    int32_t getHandlePos() const { return handlePos; }
    int32_t getMinLimit() const { return minLimit; }
    int32_t getMaxLimit() const { return maxLimit; }
    int32_t getHandleWidth() const { return handleWidth; }
    int32_t getHandleHeight() const { return handleHeight; }
    int32_t getStyle() const { return style; }

protected:
    CSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
            int32_t maxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
            int32_t style, Axis axis);

    CBitmap* handle = nullptr;
    int32_t handleWidth;
    int32_t handleHeight;
    CPoint offset;
    CPoint offsetHandle{0, 0};
    int32_t minPos;
    int32_t maxPos;
    int32_t style;
    int32_t handlePos;
    bool drawTransparentHandle = true;
    bool freeClick = true;
    int32_t minLimit;
    int32_t maxLimit;
    int32_t controlWidth;
    int32_t controlHeight;
    // The handle travels along it: minPos, maxPos and handlePos are its coordinates.
    const Axis axis;
};

// Value 0 at the bottom with kStyleMinBottom (mouse) and without kStyleMinTop
// (drawing); a slider carries one of the two.
class CVerticalSlider : public CSlider {
public:
    CVerticalSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
                    int32_t maxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                    int32_t style);
    ~CVerticalSlider() override = default;
};

// Value 0 at the right with kStyleMinRight (mouse) and without kStyleMinLeft
// (drawing); a slider carries one of the two.
class CHorizontalSlider : public CSlider {
public:
    CHorizontalSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
                      int32_t maxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                      int32_t style);
    ~CHorizontalSlider() override = default;
};
