// The knobs: CKnob, a dial picture with a handle moving on a circle over a
// 270-degree sweep (seven-thirty to four-thirty, clockwise), turned by dragging
// around the centre or, with control, up and down; CAnimKnob, the same mouse
// over a vertical strip of pictures, one per position.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

class CKnob : public CControl {
public:
    // Takes a reference on the handle too; the handle's centre runs half its
    // width inside the knob's edge (5 pixels without a handle).
    CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
          CBitmap* handle, const CPoint& offset);
    ~CKnob() override;

    void draw(CDrawContext* context) override;
    // Tracks until the primary button is released.
    void mouse(CDrawContext* context, CPoint& where) override;

    // The point of the handle circle for the current value, relative to the
    // knob's top-left corner.
    virtual void valueToPoint(CPoint& point);
    // The value of a point given relative to the knob's top-left corner.
    virtual float valueFromPoint(CPoint& where);
    // Not redrawn.
    virtual void setInsetValue(int inset);

    int32_t getInset() const { return inset; }
    CBitmap* getHandle() const { return handle; }

protected:
    CBitmap* handle = nullptr;
    int32_t inset;
    CPoint offset;

private:
    void trackLinear(CDrawContext* context, CPoint& where, int32_t click);
    void trackCircular(CDrawContext* context, CPoint& where);
};

class CAnimKnob : public CKnob {
public:
    // strip holds count pictures of height rows each, the first at the top.
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int count, int height,
              CBitmap* strip, const CPoint& offset);
    ~CAnimKnob() override = default;

    // Shows the picture for the value (0 ... 1); a strip that did not load,
    // or holds no whole picture, shows nothing.
    void draw(CDrawContext* context) override;

    // The first row of the picture shown for the current value.
    int32_t getSourceRow() const;
    int32_t getImageCount() const { return imageCount; }
    int32_t getImageHeight() const { return imageHeight; }

protected:
    int32_t imageCount;
    int32_t imageHeight;
};
