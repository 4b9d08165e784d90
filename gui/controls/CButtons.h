// The two-picture bitmap buttons: CKickButton, momentary (1 while held over
// it, always back to 0), and COnOffButton, a toggle. Each draws from a
// vertical strip of two pictures: released (0) above, pressed or on below.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CKickButton : public CControl {
public:
    // The second picture begins imageHeight rows below offset.
    CKickButton(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageHeight,
                CBitmap* background, const CPoint& offset);
    ~CKickButton() override = default;

    // Clamps the stored value into 0 ... 1 first.
    void draw(CDrawContext* context) override;
    // Tracks while any button or modifier is held and ends at 0; where ends
    // as the last mouse position read.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The top-left corner of the picture shown for the current value.
    CPoint getPictureOrigin() const;

protected:
    CPoint offset;
    int32_t imageHeight;
};

class COnOffButton : public CControl {
public:
    // The picture holds the two states one above the other, each half its height.
    COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
    ~COnOffButton() override = default;

    void draw(CDrawContext* context) override;
    // Acts on the press: toggles, draws, tells the listener. No tracking.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The first row of the picture shown for the current value.
    int32_t getPictureRow() const;
};
