// CVuMeter: a level shown as a bar of lit segments over unlit ones, growing
// from the bottom or, with kStyleHorizontal, from the left, with an optional
// slow fall. Display only: no listener, no tag, no background.
#pragma once

#include <cstdint>

#include "gui/controls/CControl.h"

class CVuMeter : public CControl {
public:
    // Takes a reference on both pictures; the unlit one may be null. A
    // segment count below 1 counts as 1.
    CVuMeter(const CRect& size, CBitmap* litBitmap, CBitmap* unlitBitmap, int32_t segmentCount,
             int32_t style);
    ~CVuMeter() override;

    // Clamps the stored value into the range, lets the shown level fall by at
    // most the decay step since the last draw, and draws the split bar.
    // Draws nothing without a lit picture. Leaves the dirty flag to update.
    void draw(CDrawContext* context) override;
    // The largest fall of the shown level per draw.
    virtual void setDecreaseStepValue(float step);

    float getDecreaseStepValue() const { return decayStep; }
    const CRect& getLitRect() const { return litRect; }
    const CRect& getUnlitRect() const { return unlitRect; }
    // Where the lit picture is read from at the last draw; the unlit one.
    const CPoint& getLitOrigin() const { return litOrigin; }
    const CPoint& getUnlitOrigin() const { return unlitOrigin; }

protected:
    CBitmap* litBitmap = nullptr;
    CBitmap* unlitBitmap = nullptr;
    int32_t segmentCount;
    int32_t style;
    float decayStep = 1.0f;
    CRect litRect;
    CRect unlitRect;

private:
    CPoint litOrigin;
    CPoint unlitOrigin;
};
