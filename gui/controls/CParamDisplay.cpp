// CParamDisplay: the text from the converter, the box, the 3D frame and the
// shadowed text, and the setters' dirty rules.
#include "gui/controls/CParamDisplay.h"

#include <cstdio>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

namespace {

bool sameRgb(CColor a, CColor b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

CParamDisplay::CParamDisplay(const CRect& rect, CBitmap* picture, int32_t styleBits)
    : CControl(rect, nullptr, 0, picture), style(styleBits)
{
}

void CParamDisplay::setFont(CFont font)
{
    if (font != fontId)
        setDirty(true);
    fontId = font;
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align)
{
    if (align != horiAlign)
        setDirty(true);
    horiAlign = align;
}

void CParamDisplay::setColor(CColor& stored, CColor color)
{
    if (!sameRgb(stored, color))
        setDirty(true);
    stored = color;
}

void CParamDisplay::setFontColor(CColor color)
{
    setColor(fontColor, color);
}
void CParamDisplay::setBackColor(CColor color)
{
    setColor(backColor, color);
}
void CParamDisplay::setFrameColor(CColor color)
{
    setColor(frameColor, color);
}
void CParamDisplay::setShadowColor(CColor color)
{
    setColor(shadowColor, color);
}

void CParamDisplay::setStyle(int32_t newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    setDirty(true);
}

void CParamDisplay::draw(CDrawContext* context)
{
    char text[kParamTextSize];
    if (stringConvertWithData) {
        text[0] = 0;
        stringConvertWithData(value, text, convertData);
    } else if (stringConvert) {
        text[0] = 0;
        stringConvert(value, text);
    } else {
        std::snprintf(text, sizeof(text), "%2.2f", static_cast<double>(value));
    }
    drawText(context, text, nullptr);
}

void CParamDisplay::drawText(CDrawContext* context, char* text, CBitmap* replacement)
{
    if (style & kStyleNoDraw)
        return; // the dirty state stays as it was
    const bool frame3D = (style & (kStyleSunken | kStyleRaised)) != 0;
    if (replacement) {
        drawPicture(replacement, context, size, backOffset);
    } else if (background) {
        drawPicture(background, context, size, backOffset);
    } else {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!frame3D) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }
    if (frame3D)
        drawFrame3D(context);
    if (!(style & kStyleNoText)) {
        context->setFont(fontId, 0);
        if (style & kStyleTextShadow) {
            CRect shadow = size;
            shadow.offset(1, 1);
            context->setFontColor(shadowColor);
            context->drawString(text, shadow, 0, horiAlign);
        }
        context->setFontColor(fontColor);
        context->drawString(text, size, 0, horiAlign);
    }
    setDirty(false);
}

// Top and left in one colour, bottom and right in the other; sunken puts the
// back colour on top, and decides when both bits are set.
void CParamDisplay::drawFrame3D(CDrawContext* context)
{
    const bool sunken = (style & kStyleSunken) != 0;
    CPoint p{size.left, size.bottom};
    context->setFrameColor(sunken ? backColor : frameColor);
    context->moveTo(p);
    p = CPoint{size.left, size.top};
    context->lineTo(p);
    p = CPoint{size.right + 1, size.top};
    context->lineTo(p);

    context->setFrameColor(sunken ? frameColor : backColor);
    p = CPoint{size.right, size.top + 1};
    context->moveTo(p);
    p = CPoint{size.right, size.bottom};
    context->lineTo(p);
    p = CPoint{size.left, size.bottom};
    context->lineTo(p);
}
