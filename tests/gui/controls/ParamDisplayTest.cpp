// The parameter display: which text it draws (the converters, the default
// format, the bass editor's converters), the box and its frames, the styles
// that leave things out, and the setters' dirty rules.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "PixelCompare.h"
#include "editor/ParamStringConvert.h"
#include "gui/controls/CParamDisplay.h"

namespace {

const CRect kMixBox{52, 197, 77, 210};
const CColor kGrey{90, 90, 90, 0};
const CColor kGreen{0, 200, 0, 0};
const CColor kBlue{0, 0, 200, 0};

// Writes the text handed as data, so a display can be shown a given text.
void writeData(float, char* text, void* data)
{
    std::strcpy(text, static_cast<const char*>(data));
}

// A display as the bass editor makes one: style 1, font 3, a black box.
struct Display : CParamDisplay {
    explicit Display(float v, int32_t style = 1, CRect box = kMixBox)
        : CParamDisplay(box, nullptr, style)
    {
        setFontColor(CColor{218, 67, 67, 0});
        setValue(v);
    }
    void drawOn(Canvas& canvas)
    {
        canvas.clear(kGrey);
        CanvasContext context(canvas);
        draw(context.get());
    }
};

// The display reads exactly like one shown that text, and the text has ink.
::testing::AssertionResult reads(Display& display, const char* text)
{
    Canvas drawn(120, 240, kBlack), expected(120, 240, kBlack);
    display.drawOn(drawn);
    Display literal(0.0f);
    literal.setStringConvert(writeData, const_cast<char*>(text));
    literal.drawOn(expected);
    // Text is smoothed: its pixels are those neither grey nor the black box.
    if (expected.painted(kGrey).size() == expected.pixelsOf(colorBlack).size())
        return ::testing::AssertionFailure() << "no ink for \"" << text << "\"";
    return samePixels(drawn, expected);
}

TEST(ParamDisplayText, DefaultFormatAndTheBassEditorConverters)
{
    Display half(0.5f), zero(0.0f);
    EXPECT_TRUE(reads(half, "0.50"));
    EXPECT_FALSE(reads(half, "0.51")); // the comparison sees the text
    EXPECT_TRUE(reads(zero, "0.00"));

    struct Case {
        void (*convert)(float, char*);
        float value;
        const char* text;
    };
    for (const Case& c :
         {Case{ParamStringConvert, 0.999f, "99"}, Case{ParamStringConvert, 0.29f, "28"},
          Case{ParamStringConvertCompress, 0.99f, "-40"},
          Case{ParamStringConvertCompress, 0.01f, "-0"},
          Case{ParamStringConvertCompress, 0.0f, " 0"}}) {
        Display d(c.value);
        d.setStringConvert(c.convert);
        EXPECT_TRUE(reads(d, c.text)) << c.text;
    }
    // Not a number, or the largest float in "%2.2f": drawn without overflow.
    for (const float v :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::max()}) {
        Display d(v);
        Canvas canvas(120, 240, kBlack);
        d.drawOn(canvas);
        d.setStringConvert(ParamStringConvert);
        d.drawOn(canvas);
    }
}

int plainCalls = 0;
void* seenData = nullptr;
void plainConvert(float, char* text)
{
    plainCalls++;
    std::strcpy(text, "plain");
}
void dataConvert(float, char* text, void* data)
{
    seenData = data;
    std::strcpy(text, "data");
}
void writeNothing(float, char*) {}

TEST(ParamDisplayText, ConverterWithDataWinsAndEmptyTextDrawsTheBoxOnly)
{
    int token = 0;
    plainCalls = 0;
    Display d(0.25f);
    d.setStringConvert(plainConvert);
    d.setStringConvert(dataConvert, &token);
    EXPECT_TRUE(reads(d, "data"));
    EXPECT_EQ(seenData, &token);
    EXPECT_EQ(plainCalls, 0);

    Display empty(0.25f), noText(0.25f, 1 | kStyleNoText);
    empty.setStringConvert(writeNothing);
    Canvas withEmpty(120, 240, kBlack), boxOnly(120, 240, kBlack);
    empty.drawOn(withEmpty);
    noText.drawOn(boxOnly);
    EXPECT_TRUE(samePixels(withEmpty, boxOnly));
}

// Box (10, 10, 40, 30), back colour green, frame colour blue, no text.
struct FramedBox {
    explicit FramedBox(int32_t style) : d(0.0f, style | kStyleNoText, CRect{10, 10, 40, 30})
    {
        d.setBackColor(kGreen);
        d.setFrameColor(kBlue);
        d.drawOn(canvas);
    }
    Pixels of(CColor c) const { return canvas.pixelsOf(c); }
    Display d;
    Canvas canvas{60, 50, kBlack};
};

Pixels unite(Pixels a, const Pixels& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

TEST(ParamDisplayBox, FlatOutlineOrThreeDFrame)
{
    const Pixels fill = rectPixels(11, 11, 39, 29);
    Pixels outline = rectPixels(10, 10, 40, 30);
    for (const Pixel& p : fill)
        outline.erase(p);
    FramedBox flat(0);
    EXPECT_EQ(flat.of(kGreen), fill);
    EXPECT_EQ(flat.of(kBlue), outline);

    // The lower and right lines run on the exclusive edges; each line
    // leaves out its last pixel.
    const Pixels topLeft = unite(rectPixels(10, 10, 10, 29), rectPixels(10, 10, 40, 10));
    const Pixels bottomRight = unite(rectPixels(40, 11, 40, 29), rectPixels(10, 30, 39, 30));
    FramedBox sunken(kStyleSunken), raised(kStyleRaised), both(kStyleSunken | kStyleRaised);
    EXPECT_EQ(sunken.of(kGreen), unite(fill, topLeft));
    EXPECT_EQ(sunken.of(kBlue), bottomRight);
    EXPECT_EQ(raised.of(kGreen), unite(fill, bottomRight));
    EXPECT_EQ(raised.of(kBlue), topLeft);
    EXPECT_TRUE(samePixels(both.canvas, sunken.canvas));
}

TEST(ParamDisplayBox, PictureBoxReplacementAndFrameOverIt)
{
    auto* background = new CBitmap(128);
    auto* kick = new CBitmap(131);
    CPoint from{52, 197};
    CParamDisplay display(kMixBox, background, kStyleNoText);
    display.setBackOffset(from);
    Canvas drawn(120, 240, kBlack), expected(120, 240, kBlack);
    CanvasContext context(drawn);
    display.draw(context.get());
    paint(expected, background, kMixBox, from);
    EXPECT_TRUE(samePixels(drawn, expected));

    display.drawText(context.get(), const_cast<char*>(""), kick);
    paint(expected, kick, kMixBox, from);
    EXPECT_TRUE(samePixels(drawn, expected));

    display.setStyle(kStyleNoText | kStyleSunken);
    display.setBackColor(kGreen);
    display.setFrameColor(kBlue);
    display.draw(context.get());
    EXPECT_EQ(colourAt(drawn, 52, 197), kGreen);
    EXPECT_EQ(colourAt(drawn, 77, 205), kBlue);
    EXPECT_EQ(colourAt(drawn, 60, 210), kBlue);
    background->forget();
    kick->forget();
}

TEST(ParamDisplayStyles, NoDrawAndShadow)
{
    Display hidden(0.5f, kStyleNoDraw);
    Canvas canvas(120, 240, kBlack);
    hidden.drawOn(canvas);
    EXPECT_TRUE(canvas.painted(kGrey).empty());
    EXPECT_TRUE(hidden.isDirty()); // not drawn, so not clean either

    // The shadow is the text again, one pixel right and down, under it.
    Display shadowed(0.5f, kStyleTextShadow), box(0.5f, kStyleNoText);
    shadowed.setShadowColor(kBlue);
    Canvas drawn(120, 240, kBlack), expected(120, 240, kBlack);
    shadowed.drawOn(drawn);
    box.drawOn(expected);
    CanvasContext context(expected);
    CRect text = kMixBox, shadow{53, 198, 78, 211};
    context->setFont(3, 0);
    context->setFontColor(kBlue);
    context->drawString("0.50", shadow, 0, kCenterText);
    context->setFontColor(CColor{218, 67, 67, 0});
    context->drawString("0.50", text, 0, kCenterText);
    EXPECT_TRUE(samePixels(drawn, expected));
}

TEST(ParamDisplaySetters, DirtyOnlyWhenWhatIsDrawnChanges)
{
    CParamDisplay d(kMixBox, nullptr, 0);
    d.setDirty(false);
    d.setFontColor(CColor{255, 255, 255, 7}); // white already; the fourth byte is not drawn
    EXPECT_EQ(d.getFontColor().unused, 7);
    d.setStyle(0);
    d.setFont(3);
    d.setHoriAlign(kCenterText);
    CPoint offset{4, 4};
    d.setBackOffset(offset);
    d.setStringConvert(plainConvert);
    EXPECT_FALSE(d.isDirty());
    d.setFont(4);
    EXPECT_TRUE(d.isDirty());
    d.setDirty(false);
    d.setShadowColor(CColor{255, 0, 1, 0});
    EXPECT_TRUE(d.isDirty());
    d.setDirty(false);
    d.setStyle(kStyleSunken);
    EXPECT_TRUE(d.isDirty());
}

} // namespace
