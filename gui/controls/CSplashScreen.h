// CSplashScreen: a small clickable area that shows a larger picture as the
// frame's modal view when clicked, and hides it on the next click (inside
// the picture, which is then the control's size).
#pragma once

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CSplashScreen : public CControl {
public:
    // While shown the picture covers splashRect, read from offset of the
    // background.
    CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                  const CRect& splashRect, const CPoint& offset);
    ~CSplashScreen() override = default;

    // Draws the picture while the value is not 0; inside a frame only while
    // it is actually shown. Leaves the dirty flag to update.
    void draw(CDrawContext* context) override;
    // Shows or hides the picture. A show the frame refuses (another modal
    // view is up, or there is no frame) sets the value to 1 but draws and
    // tells nothing; the picture is not shown, so the next click tries to
    // show it again.
    void mouse(CDrawContext* context, CPoint& where) override;

    bool isShown() const { return shown; }
    const CRect& getSplashRect() const { return splashRect; }

protected:
    CRect splashRect;
    CRect savedSize;
    CPoint offset;

private:
    bool shown = false;
};
