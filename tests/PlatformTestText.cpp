// Fonts and text: the substitution, metrics that agree with the drawn
// glyphs, and text in the over and invert modes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "platform/api/Font.h"
#include "platform/api/Region.h"
#include "platform/pixels/FontFace.h"
#include "tests/support/Canvas.h"

namespace {

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

Box boxOf(const Pixels& p)
{
    Box b;
    for (const auto& [x, y] : p) {
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
    }
    return b;
}

} // namespace

TEST(PlatformFont, SubstitutionAndNames)
{
    EXPECT_EQ(font_face::family(font_face::Weight::Regular), "Liberation Sans");
    EXPECT_EQ(font_face::family(font_face::Weight::Bold), "Liberation Sans");

    BFont font;
    font_family family;
    font_style style;
    font.GetFamilyAndStyle(&family, &style);
    EXPECT_STREQ(family, "Swis721 BT");
    EXPECT_STREQ(style, "Roman");
    EXPECT_EQ(font.Size(), 12.0f);
    EXPECT_FALSE(font.IsBold());

    EXPECT_EQ(font.SetFamilyAndStyle("Swis721 BT", "Bold"), B_OK);
    EXPECT_TRUE(font.IsBold());
    EXPECT_EQ(font.SetFamilyAndStyle("Comic Sans", "Roman"), B_NAME_NOT_FOUND);
    EXPECT_EQ(font.SetFamilyAndStyle("Swis721 BT", "Italic"), B_NAME_NOT_FOUND);
    font.GetFamilyAndStyle(&family, &style);
    EXPECT_STREQ(style, "Bold");
    EXPECT_TRUE(font.IsBold());

    font.SetSize(-3);
    EXPECT_EQ(font.Size(), 1.0f);
    font.SetSize(NAN);
    EXPECT_EQ(font.Size(), 1.0f);
}

TEST(PlatformFont, MetricsAreRealAndWholePixels)
{
    BFont font;
    font_height h;
    font.GetHeight(&h);
    EXPECT_GT(h.ascent, h.descent);
    EXPECT_GT(h.descent, 0);
    EXPECT_GE(h.leading, 0);
    EXPECT_EQ(h.ascent, std::floor(h.ascent));

    BFont big;
    big.SetSize(24);
    font_height bigHeight;
    big.GetHeight(&bigHeight);
    EXPECT_NEAR(bigHeight.ascent, 2 * h.ascent, 2);

    const float w = font.StringWidth("W");
    EXPECT_GT(w, 0);
    EXPECT_EQ(w, std::floor(w));
    EXPECT_EQ(font.StringWidth("WWW"), 3 * w);
    EXPECT_EQ(font.StringWidth(""), 0);
    EXPECT_EQ(font.StringWidth(nullptr), 0);
    BFont bold;
    bold.SetFamilyAndStyle("Swis721 BT", "Bold");
    EXPECT_GT(bold.StringWidth("Heavy Mix"), font.StringWidth("Heavy Mix"));

    // Invalid UTF-8 is measured as '?' and leaves the shared face usable.
    EXPECT_EQ(font.StringWidth("a\xff"), font.StringWidth("a?"));
    EXPECT_EQ(font.StringWidth("\xe2\x82"), font.StringWidth("?"));
    EXPECT_EQ(font.StringWidth("W"), w);
}

TEST(PlatformText, GlyphsStandOnTheBaselineWithinTheirWidth)
{
    Canvas c(80, 40);
    font_height h;
    c.view->GetFontHeight(&h);
    const float width = c.view->StringWidth("HH");
    c.view->SetDrawingMode(B_OP_OVER);
    c.view->DrawString("HH", BPoint(10, 20));
    const Box b = boxOf(c.painted());
    EXPECT_EQ(b.bottom, 20) << c.picture();
    EXPECT_GE(b.top, 20 - static_cast<int>(h.ascent) + 1);
    EXPECT_LE(b.top, 20 - static_cast<int>(h.ascent) / 2);
    EXPECT_GE(b.left, 10);
    EXPECT_LT(b.right, 10 + static_cast<int>(width));
    EXPECT_EQ(c.view->PenLocation(), BPoint(10 + width, 20));

    // A descender goes below the baseline, by at most the descent.
    c.clear();
    c.view->DrawString("gp", BPoint(10, 20));
    const Box d = boxOf(c.painted());
    EXPECT_GT(d.bottom, 20);
    EXPECT_LE(d.bottom, 20 + static_cast<int>(std::ceil(h.descent)));
}

TEST(PlatformText, OverPaintsOnlyTheGlyphsAndInvertFlipsThem)
{
    const rgb_color red{200, 0, 0, 255};
    Canvas c(60, 30);
    c.clear(red);
    c.view->SetDrawingMode(B_OP_OVER);
    c.view->DrawString("Mix", BPoint(5, 20));
    const Pixels ink = c.painted(red);
    ASSERT_FALSE(ink.empty());
    const Box b = boxOf(ink);
    int solid = 0;
    for (const auto& [x, y] : ink)
        solid += c.at(x, y) == kBlack;
    EXPECT_GT(solid, 0);
    EXPECT_LT(ink.size(), static_cast<size_t>((b.right - b.left + 1) * (b.bottom - b.top + 1)));

    const rgb_color grey{100, 100, 100, 255};
    c.clear(grey);
    c.view->SetDrawingMode(B_OP_INVERT);
    c.view->DrawString("Mix", BPoint(5, 20));
    const Pixels flipped = c.painted(grey);
    ASSERT_FALSE(flipped.empty());
    for (const auto& [x, y] : flipped)
        ASSERT_EQ(c.at(x, y), (rgb_color{155, 155, 155, 255}));
    c.view->DrawString("Mix", BPoint(5, 20));
    EXPECT_TRUE(c.painted(grey).empty());
}

TEST(PlatformText, ClippedAndSizedLikeTheView)
{
    Canvas c(80, 40);
    BRegion left(BRect(0, 0, 14, 39));
    c.view->ConstrainClippingRegion(&left);
    c.view->SetFontSize(20);
    c.view->DrawString("WWWW", BPoint(2, 30));
    const Box b = boxOf(c.painted());
    EXPECT_LE(b.right, 14);
    EXPECT_GT(b.bottom - b.top, 10); // 20-pixel letters

    BFont bold;
    bold.SetFamilyAndStyle("Swis721 BT", "Bold");
    bold.SetSize(9);
    c.view->SetFont(&bold, B_FONT_FAMILY_AND_STYLE);
    BFont now;
    c.view->GetFont(&now);
    EXPECT_TRUE(now.IsBold());
    EXPECT_EQ(now.Size(), 20.0f);
    c.view->SetFont(&bold, B_FONT_SIZE);
    c.view->GetFont(&now);
    EXPECT_EQ(now.Size(), 9.0f);
}
