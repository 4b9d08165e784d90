// The switches, each drawn from a vertical strip of pictures in one bitmap:
// CVerticalSwitch and CHorizontalSwitch pick one of N positions along the
// control's height or width (value = position / (N - 1)); CRockerSwitch is a
// momentary rocker, -1 on its left half, +1 on its right, back to 0 on release.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CVerticalSwitch : public CControl {
public:
    // The strip holds positionCount pictures of imageHeight rows, position 0
    // at the top; imageCount and offset are kept but not used for drawing.
    // A position count below 1 counts as 1.
    CVerticalSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageCount,
                    int32_t imageHeight, int32_t positionCount, CBitmap* background,
                    const CPoint& offset);
    ~CVerticalSwitch() override = default;

    void draw(CDrawContext* context) override;
    // Primary with command restores the default; otherwise tracks while the
    // state word stays what it was at the click. where ends as the last
    // mouse position read.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The strip picture the current value shows, 0 ... positionCount - 1.
    int32_t getImageIndex() const;
    int32_t getPositionCount() const { return positionCount; }

protected:
    CPoint offset;
    int32_t imageCount;
    int32_t imageHeight;
    int32_t positionCount;
};

class CHorizontalSwitch : public CControl {
public:
    // As the vertical switch; the positions divide the background's width.
    CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                      int32_t imageCount, int32_t imageHeight, int32_t positionCount,
                      CBitmap* background, const CPoint& offset);
    ~CHorizontalSwitch() override = default;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where) override;

    int32_t getImageIndex() const;
    int32_t getPositionCount() const { return positionCount; }

protected:
    CPoint offset;
    int32_t imageCount;
    int32_t imageHeight;
    int32_t positionCount;
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
