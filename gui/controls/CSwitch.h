// The switches, each drawn from a vertical strip of pictures in one bitmap:
// CVerticalSwitch and CHorizontalSwitch pick one of N positions along the
// control's height or width (value = position / (N - 1)); CRockerSwitch is a
// momentary rocker, -1 on its left half, +1 on its right, back to 0 on release.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

// The multi-position switches' shared part: the fields in their order, the
// drawing, and the mouse, along the axis the switch is built with.
class CMultiSwitch : public CControl {
public:
    void draw(CDrawContext* context) override;
    // Primary with command restores the default; otherwise tracks while the
    // state word stays what it was at the click. where ends as the last
    // mouse position read.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The strip picture the current value shows, 0 ... positionCount - 1.
    int32_t getImageIndex() const;
    int32_t getPositionCount() const { return positionCount; }

protected:
    // The strip holds positionCount pictures of imageHeight rows, position 0
    // at the top; imageCount and offset are kept but not used for drawing.
    // A position count below 1 counts as 1. The default value is 0.
    CMultiSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageCount,
                 int32_t imageHeight, int32_t positionCount, CBitmap* background,
                 const CPoint& offset, Axis axis);

    CPoint offset;
    int32_t imageCount;
    int32_t imageHeight;
    int32_t positionCount;
    // The positions follow each other along it.
    const Axis axis;

private:
    // Pixels per position along the axis.
    double pitch() const;
    // The value for a point, pitch pixels per position.
    float valueAt(const CPoint& where, double pitch) const;
};

// Positions down the control's height; a boundary row belongs to the
// position below it.
class CVerticalSwitch : public CMultiSwitch {
public:
    CVerticalSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageCount,
                    int32_t imageHeight, int32_t positionCount, CBitmap* background,
                    const CPoint& offset);
    ~CVerticalSwitch() override = default;
};

// Positions across the background's width; a boundary column belongs to the
// position before it.
class CHorizontalSwitch : public CMultiSwitch {
public:
    CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                      int32_t imageCount, int32_t imageHeight, int32_t positionCount,
                      CBitmap* background, const CPoint& offset);
    ~CHorizontalSwitch() override = default;
};

class CRockerSwitch : public CControl {
public:
    // The strip holds three pictures from offset down: -1, 0, +1.
    CRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageHeight,
                  CBitmap* background, const CPoint& offset);
    ~CRockerSwitch() override = default;

    void draw(CDrawContext* context) override;
    // Tracks while any button or modifier is held and always ends at 0.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The top-left corner of the picture shown for the current value.
    CPoint getPictureOrigin() const;

protected:
    CPoint offset;
    int32_t imageHeight;

private:
    float valueAt(const CPoint& where, float outside) const;
};
