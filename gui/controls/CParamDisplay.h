// CParamDisplay: a control value shown as one line of text in a box, the
// text made by the owner's converter (or "%2.2f"), the box a piece of a
// picture or a filled rectangle with a flat or 3D frame. drawText is shared
// with the controls that derive from it.
#pragma once

#include <cstdint>

#include "gui/CColor.h"
#include "gui/CDrawStyle.h"
#include "gui/CFont.h"
#include "gui/CPoint.h"
#include "gui/controls/CControl.h"

// A converter writes at most 255 characters and a terminating zero.
using CStringConvert = void (*)(float value, char* text);
using CStringConvertWithData = void (*)(float value, char* text, void* data);

inline constexpr int kParamTextSize = 256;

class CParamDisplay : public CControl {
public:
    // No listener, tag 0: a display never notifies. background may be null.
    CParamDisplay(const CRect& size, CBitmap* background, int32_t style);
    ~CParamDisplay() override = default;

    void draw(CDrawContext* context) override;

    // The setters below mark the display dirty when what they store changes;
    // colours compare by red, green and blue only, and are stored whole.
    virtual void setFont(CFont font);
    virtual void setFontColor(CColor color);
    virtual void setBackColor(CColor color);
    virtual void setFrameColor(CColor color);
    virtual void setShadowColor(CColor color);
    virtual void setHoriAlign(CHoriTxtAlign align);
    // Not marked dirty.
    virtual void setBackOffset(CPoint& point) { backOffset = point; }
    // Neither converter setter marks the display dirty or clears the other;
    // the one with data wins when both are set.
    virtual void setStringConvert(CStringConvert convert) { stringConvert = convert; }
    virtual void setStringConvert(CStringConvertWithData convert, void* data)
    {
        stringConvertWithData = convert;
        convertData = data;
    }
    virtual void setStyle(int32_t newStyle);
    virtual int32_t getStyle() { return style; }

    // Draws the box and the text; a non-null replacement is drawn instead of
    // the display's own background.
    void drawText(CDrawContext* context, char* text, CBitmap* replacement = nullptr);

    CFont getFont() const { return fontId; }
    CColor getFontColor() const { return fontColor; }
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }

protected:
    CHoriTxtAlign horiAlign = kCenterText;
    int32_t style;
    CFont fontId = 3;
    CColor fontColor = colorWhite;
    CColor backColor = colorBlack;
    CColor frameColor = colorBlack;
    CColor shadowColor = colorRed;
    CPoint backOffset{0, 0};
    void* convertData = nullptr;
    CStringConvert stringConvert = nullptr;
    CStringConvertWithData stringConvertWithData = nullptr;

private:
    void drawFrame3D(CDrawContext* context);
    void setColor(CColor& stored, CColor color);
};
