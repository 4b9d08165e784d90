// Controls that show one picture of a vertical strip of equally tall
// pictures: CMovieBitmap, display only, its 0 ... 1 value picking the
// picture; CMovieButton, a two-picture toggle that tracks the press and keeps
// the new state on release; CAutoAnimation, an animation its owner steps
// frame by frame, shown and hidden by clicks.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CMovieBitmap : public CControl {
public:
    // imageCount pictures of imageHeight rows from offset down.
    CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageCount,
                 int32_t imageHeight, CBitmap* background, const CPoint& offset);
    ~CMovieBitmap() override = default;

    // Stores a value above 1 back as 1; 0 and below show the first picture.
    void draw(CDrawContext* context) override;

    // The strip picture the current value shows.
    int32_t getImageIndex() const;

protected:
    CPoint offset;
    int32_t imageCount;
    int32_t imageHeight;
};

class CMovieButton : public CControl {
public:
    // The off picture at the top of the strip, the on picture imageHeight
    // rows below; offset is kept but not used for drawing.
    CMovieButton(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageHeight,
                 CBitmap* background, const CPoint& offset);
    ~CMovieButton() override = default;

    // Clamps the stored value into 0 ... 1 first.
    void draw(CDrawContext* context) override;
    // Shows the toggled state while held over the button and keeps it on a
    // release there; tracks while the state word stays what it was.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The first row of the picture shown for the current value.
    int32_t getPictureRow() const;

protected:
    CPoint offset;
    int32_t imageHeight;
};

class CAutoAnimation : public CControl {
public:
    // Its value is the row, from offset, where the current picture begins.
    CAutoAnimation(const CRect& size, CControlListener* listener, int32_t tag, int32_t imageCount,
                   int32_t imageHeight, CBitmap* background, const CPoint& offset);
    ~CAutoAnimation() override = default;

    // Draws only while shown.
    void draw(CDrawContext* context) override;
    // A click on the hidden animation shows it at the first picture and tells
    // the listener; a click on the shown one draws the first picture and
    // hides it.
    void mouse(CDrawContext* context, CPoint& where) override;

    // Neither draws nor marks the control dirty.
    virtual void openWindow();
    virtual void closeWindow();
    // Step one picture on or back; the changed value makes the control
    // dirty for the next update. Forward wraps before the last picture.
    virtual void nextPixmap();
    virtual void previousPixmap();

    bool isWindowOpened() const { return windowOpened; }
    int32_t getTotalHeight() const { return totalHeight; }

protected:
    CPoint offset;
    int32_t imageCount;
    int32_t imageHeight;
    bool windowOpened = false;
    int32_t totalHeight;
};
