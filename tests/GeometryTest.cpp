// The toolkit's value types: rectangle and point arithmetic, the hit test's
// inclusive edges, the platform forms of rectangles and colours, the font id
// rule and the mouse word. The fixed tables (colours, drawing modes, dash
// pattern, fonts, mouse bits) are checked by static_asserts beside them.
#include <bit>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "gui/CColor.h"
#include "gui/CDrawStyle.h"
#include "gui/CFont.h"
#include "gui/CPoint.h"
#include "gui/CRect.h"
#include "gui/MouseButtons.h"

namespace {

// Stand-ins for the platform's float rectangle and four-byte colour.
struct FloatRect {
    float left, top, right, bottom;
};
struct Rgba {
    uint8_t red, green, blue, alpha;
};

TEST(Rect, ExtentConventionGivesWidthAndHeight)
{
    const CRect skin{0, 0, 340, 262};
    EXPECT_EQ(skin.width(), 340);
    EXPECT_EQ(skin.height(), 262);

    // (x, y, x + w, y + h) for the Mix slider's handle column.
    const CRect slider{53, 38, 75, 184};
    EXPECT_EQ(slider.width(), 22);
    EXPECT_EQ(slider.height(), 146);

    // Fields are signed: a rectangle left of and above the origin still measures right.
    const CRect negative{-10, -20, -4, -5};
    EXPECT_EQ(negative.width(), 6);
    EXPECT_EQ(negative.height(), 15);
}

TEST(Rect, OffsetMovesAllFourEdges)
{
    CRect r{10, 20, 30, 40};
    r.offset(5, -7);
    EXPECT_EQ(r, (CRect{15, 13, 35, 33}));
    r.offset(-15, -13);
    EXPECT_EQ(r, (CRect{0, 0, 20, 20}));
}

TEST(Rect, MoveToKeepsWidthAndHeight)
{
    CRect r{285, 13, 329, 51};
    r.moveTo(0, 0);
    EXPECT_EQ(r, (CRect{0, 0, 44, 38}));
    r.moveTo(-3, 100);
    EXPECT_EQ(r, (CRect{-3, 100, 41, 138}));
}

TEST(Rect, InsetShrinksOrGrowsOnBothSides)
{
    CRect r{10, 20, 30, 40};
    r.inset(1, 2);
    EXPECT_EQ(r, (CRect{11, 22, 29, 38}));
    r.inset(-1, -2);
    EXPECT_EQ(r, (CRect{10, 20, 30, 40}));
    r.inset(0, 3);
    EXPECT_EQ(r.width(), 20);
    EXPECT_EQ(r.height(), 14);
}

TEST(Rect, OperationsChainOnTheSameRectangle)
{
    CRect r{0, 0, 10, 10};
    r.offset(2, 3).inset(1, 1).moveTo(0, 0);
    EXPECT_EQ(r, (CRect{0, 0, 8, 8}));
}

TEST(Rect, EqualityIsFieldByField)
{
    const CRect r{1, 2, 3, 4};
    EXPECT_EQ(r, (CRect{1, 2, 3, 4}));
    EXPECT_NE(r, (CRect{0, 2, 3, 4}));
    EXPECT_NE(r, (CRect{1, 0, 3, 4}));
    EXPECT_NE(r, (CRect{1, 2, 0, 4}));
    EXPECT_NE(r, (CRect{1, 2, 3, 0}));
    EXPECT_EQ(CRect{}, (CRect{0, 0, 0, 0}));
}

// Drawn pixels stop one short of right and bottom; mouse hits do not.
TEST(RectPointInside, AllFourEdgesCountAsInside)
{
    const CRect r{10, 20, 30, 40};
    EXPECT_TRUE(r.pointInside({10, 20}));
    EXPECT_TRUE(r.pointInside({30, 40}));
    EXPECT_TRUE(r.pointInside({30, 20}));
    EXPECT_TRUE(r.pointInside({10, 40}));
    EXPECT_TRUE(r.pointInside({30, 30})); // the undrawn column
    EXPECT_TRUE(r.pointInside({20, 40})); // the undrawn row
    EXPECT_TRUE(r.pointInside({29, 39})); // last drawn pixel
}

TEST(RectPointInside, OnePixelBeyondAnyEdgeIsOutside)
{
    const CRect r{10, 20, 30, 40};
    EXPECT_FALSE(r.pointInside({9, 30}));
    EXPECT_FALSE(r.pointInside({31, 30}));
    EXPECT_FALSE(r.pointInside({20, 19}));
    EXPECT_FALSE(r.pointInside({20, 41}));
    EXPECT_FALSE(r.pointInside({31, 41}));
    EXPECT_FALSE(r.pointInside({9, 19}));
}

TEST(RectPointInside, EmptyAndInvertedRectangles)
{
    // A 0 x 0 rectangle still holds its one corner point.
    EXPECT_TRUE((CRect{5, 5, 5, 5}).pointInside({5, 5}));
    EXPECT_FALSE((CRect{5, 5, 5, 5}).pointInside({6, 5}));
    // Right left of left holds nothing.
    EXPECT_FALSE((CRect{10, 10, 5, 20}).pointInside({7, 15}));
    EXPECT_FALSE((CRect{10, 10, 5, 20}).pointInside({10, 15}));
}

TEST(RectPointInside, AdjacentViewsShareTheirCommonEdge)
{
    // Two views side by side: the column x = 75 belongs to both by the hit
    // test; the frame picks the last added one.
    const CRect leftView{53, 38, 75, 184};
    const CRect rightView{75, 38, 100, 184};
    EXPECT_TRUE(leftView.pointInside({75, 100}));
    EXPECT_TRUE(rightView.pointInside({75, 100}));
    EXPECT_FALSE(leftView.pointInside({76, 100}));
}

TEST(RectPlatformForm, InclusiveFormDropsOnePixelRightAndBottom)
{
    const auto p = platformRect<FloatRect>(CRect{10, 20, 30, 40});
    EXPECT_EQ(p.left, 10.0f);
    EXPECT_EQ(p.top, 20.0f);
    EXPECT_EQ(p.right, 29.0f);
    EXPECT_EQ(p.bottom, 39.0f);

    const auto whole = platformRect<FloatRect>(CRect{0, 0, 340, 262});
    EXPECT_EQ(whole.right, 339.0f);
    EXPECT_EQ(whole.bottom, 261.0f);
}

TEST(RectPlatformForm, UnchangedFormKeepsAllFourValues)
{
    const auto p = platformRectUnchanged<FloatRect>(CRect{-1, 2, 30, 40});
    EXPECT_EQ(p.left, -1.0f);
    EXPECT_EQ(p.top, 2.0f);
    EXPECT_EQ(p.right, 30.0f);
    EXPECT_EQ(p.bottom, 40.0f);
}

TEST(Point, OffsetAndEquality)
{
    CPoint p{3, 4};
    p.offset(-3, 10);
    EXPECT_EQ(p, (CPoint{0, 14}));
    EXPECT_NE(p, (CPoint{14, 0}));
    EXPECT_EQ(CPoint{}, (CPoint{0, 0}));
}

TEST(Color, OneWordWithRedInTheLowestByte)
{
    const CColor c{0x11, 0x22, 0x33, 0x44};
    uint8_t bytes[4];
    std::memcpy(bytes, &c, sizeof bytes);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x33);
    EXPECT_EQ(bytes[3], 0x44);
    if constexpr (std::endian::native == std::endian::little) {
        EXPECT_EQ(std::bit_cast<uint32_t>(c), 0x44332211u);
    }
}

TEST(Color, FourthByteIsComparedButNeverDrawn)
{
    // Compared: a colour differing only in the fourth byte is a different value.
    EXPECT_NE((CColor{1, 2, 3, 0}), (CColor{1, 2, 3, 9}));

    // Drawn fully opaque whatever the fourth byte holds.
    for (uint8_t fourth : {uint8_t{0}, uint8_t{1}, uint8_t{128}, uint8_t{255}}) {
        const Rgba p = platformColor<Rgba>(CColor{10, 20, 30, fourth});
        EXPECT_EQ(p.red, 10);
        EXPECT_EQ(p.green, 20);
        EXPECT_EQ(p.blue, 30);
        EXPECT_EQ(p.alpha, 255) << "fourth byte " << int(fourth);
    }
}

TEST(Color, TransparencyKeyIsWhiteWhateverTheFourthByte)
{
    EXPECT_TRUE(isTransparentKey(colorTransparent));
    EXPECT_TRUE(isTransparentKey(colorWhite));
    EXPECT_TRUE(isTransparentKey(CColor{255, 255, 255, 77}));
    EXPECT_FALSE(isTransparentKey(CColor{254, 255, 255, 0}));
    EXPECT_FALSE(isTransparentKey(CColor{255, 254, 255, 0}));
    EXPECT_FALSE(isTransparentKey(CColor{255, 255, 254, 0}));
    EXPECT_FALSE(isTransparentKey(colorBlack));
}

TEST(Font, IdsAboveSevenBehaveAsZero)
{
    for (CFont id = 0; id < kFontIdCount; ++id)
        EXPECT_EQ(validFontId(id), id);
    for (CFont id : {8u, 9u, 255u, 0x80000000u, 0xFFFFFFFFu}) {
        const CFont valid = validFontId(id);
        EXPECT_EQ(valid, 0u) << "id " << id;
        EXPECT_EQ(standardFontSize[valid], 12);
        EXPECT_STREQ(standardFontName[valid], "Swis721 BT");
        EXPECT_STREQ(standardFontStyle[valid], "Bold");
    }
    // An int -1 handed over as a font id compares as unsigned.
    EXPECT_EQ(validFontId(static_cast<CFont>(-1)), 0u);
}

TEST(MouseButtons, SecondaryAndTertiaryCrossOver)
{
    EXPECT_EQ(mouseButtonsFromPlatform(0x1, 0), kMousePrimary);
    EXPECT_EQ(mouseButtonsFromPlatform(0x2, 0), kMouseSecondary);
    EXPECT_EQ(mouseButtonsFromPlatform(0x2, 0), 0x04);
    EXPECT_EQ(mouseButtonsFromPlatform(0x4, 0), kMouseTertiary);
    EXPECT_EQ(mouseButtonsFromPlatform(0x4, 0), 0x02);
    EXPECT_EQ(mouseButtonsFromPlatform(0x7, 0), 0x07);
}

TEST(MouseButtons, ModifiersMapAndCountWithoutAButton)
{
    EXPECT_EQ(mouseButtonsFromPlatform(0, 0x1), kModShift);
    EXPECT_EQ(mouseButtonsFromPlatform(0, 0x2), kModCommand);
    EXPECT_EQ(mouseButtonsFromPlatform(0, 0x4), kModControl);
    EXPECT_EQ(mouseButtonsFromPlatform(0, 0x40), kModOption);
    // The default-value click of knobs, sliders and switches.
    EXPECT_EQ(mouseButtonsFromPlatform(0x1, 0x2), 17);
    // Shift with the primary button: the sliders' fine drag.
    EXPECT_EQ(mouseButtonsFromPlatform(0x1, 0x1), 9);
}

TEST(MouseButtons, OtherPlatformBitsAreDropped)
{
    // Modifier bits 0x8 .. 0x20 and 0x80 up, and further buttons, carry no toolkit bit.
    EXPECT_EQ(mouseButtonsFromPlatform(0xFFFFFFF8u, 0xFFFFFFB8u), 0);
    EXPECT_EQ(mouseButtonsFromPlatform(0xFFFFFFFFu, 0xFFFFFFFFu), 0x7F);
}

} // namespace
