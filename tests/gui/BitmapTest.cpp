// Skin pictures loaded from the resources this test program carries: sizes,
// the failure message, reference counting, the shared reader, and the pixels
// draw and drawTransparent copy.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "platform/api/Bitmap.h"
#include "platform/api/GraphicsDefs.h"
#include "tests/support/ToolkitColours.h"

namespace {

// The colour of picture pixel (x, y), read from the decoded picture.
CColor pictureColor(const CBitmap& b, int x, int y)
{
    const BBitmap* p = b.getPlatformBitmap();
    const auto* px = static_cast<const uint8_t*>(p->Bits()) + y * p->BytesPerRow() + x * 4;
    return CColor{px[2], px[1], px[0], 0};
}

class BitmapTest : public ::testing::Test {
protected:
    void TearDown() override { CBitmap::closeResource(); }
};

TEST_F(BitmapTest, SkinPicturesHaveTheirSizesAndAMissingIdIsReported)
{
    const int expected[][3] = {{128, 340, 262}, {129, 16, 28}, {130, 22, 28}, {131, 44, 76}};
    for (const auto& e : expected) {
        CBitmap* b = new CBitmap(e[0]);
        EXPECT_EQ(b->getWidth(), e[1]) << e[0];
        EXPECT_EQ(b->getHeight(), e[2]) << e[0];
        EXPECT_EQ(b->getReferenceCount(), 1);
        b->forget();
    }
    testing::internal::CaptureStderr();
    CBitmap* missing = new CBitmap(999);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "********* Resource 999 could NOT be loaded!\n");
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    Canvas canvas(8, 8, kBlack);
    CDrawContext context(nullptr, canvas.view, nullptr);
    CRect r{0, 0, 8, 8};
    missing->draw(&context, r);
    missing->drawTransparent(&context, r);
    EXPECT_TRUE(canvas.painted(CColor{0, 0, 0, 0}).empty());
    missing->forget();
}

TEST_F(BitmapTest, TheReaderOpensOnceAndAgainAfterClose)
{
    EXPECT_FALSE(CBitmap::resourceOpen());
    CBitmap* a = new CBitmap(129);
    EXPECT_TRUE(CBitmap::resourceOpen());
    CBitmap* b = new CBitmap(130);
    CBitmap::closeResource();
    EXPECT_FALSE(CBitmap::resourceOpen());
    CBitmap* c = new CBitmap(131); // opens again
    EXPECT_TRUE(CBitmap::resourceOpen());
    EXPECT_EQ(c->getWidth(), 44);
    for (CBitmap* x : {a, b, c})
        x->forget();
}

TEST_F(BitmapTest, ForgetDestroysOnTheLastReference)
{
    CBitmap* b = new CBitmap(129);
    b->remember();
    EXPECT_EQ(b->getReferenceCount(), 2);
    b->forget();
    EXPECT_EQ(b->getReferenceCount(), 1); // still alive
    b->forget();                          // gone; the sanitizer run checks it
}

TEST_F(BitmapTest, DrawCopiesThePartStartingAtTheOffset)
{
    CBitmap* background = new CBitmap(128);
    Canvas canvas(60, 60, kBlack);
    CDrawContext context(nullptr, canvas.view, nullptr);
    CRect r{10, 20, 30, 40};
    background->draw(&context, r, CPoint{5, 0});
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 60; x++) {
            const bool inside = x >= 10 && x <= 29 && y >= 20 && y <= 39;
            const CColor want = inside ? pictureColor(*background, x - 5, y - 20) : CColor{};
            ASSERT_EQ(colourAt(canvas, x, y), want) << x << "," << y;
        }

    // A source reaching past the picture copies only what lies inside it.
    canvas.clear(CColor{1, 2, 3, 0});
    CRect edge{0, 0, 20, 10};
    background->draw(&context, edge, CPoint{330, 0});
    for (int x = 0; x < 10; x++)
        EXPECT_EQ(colourAt(canvas, x, 5), pictureColor(*background, 330 + x, 5));
    for (int x = 10; x < 20; x++)
        EXPECT_EQ(colourAt(canvas, x, 5), (CColor{1, 2, 3, 0}));
    background->forget();
}

TEST_F(BitmapTest, TransparentDrawingSkipsWhiteAndMarksThePictureForGood)
{
    CBitmap* background = new CBitmap(128);
    // Find a white pixel of the background to watch.
    int wx = -1, wy = -1;
    for (int y = 0; y < 262 && wx < 0; y++)
        for (int x = 0; x < 340 && wx < 0; x++)
            if (pictureColor(*background, x, y) == (CColor{255, 255, 255, 0}))
                wx = x, wy = y;
    ASSERT_GE(wx, 0) << "the background has no white pixel";

    Canvas canvas(340, 262, kBlack);
    canvas.clear(CColor{9, 8, 7, 0});
    CDrawContext context(nullptr, canvas.view, nullptr);
    CRect whole{0, 0, 340, 262};
    background->drawTransparent(&context, whole);
    EXPECT_EQ(colourAt(canvas, wx, wy), (CColor{9, 8, 7, 0}));

    // The marking stays: an opaque draw now shows the marker colour.
    background->draw(&context, whole);
    const CColor marker{B_TRANSPARENT_COLOR.red, B_TRANSPARENT_COLOR.green,
                        B_TRANSPARENT_COLOR.blue, 0};
    EXPECT_EQ(colourAt(canvas, wx, wy), marker);
    background->forget();

    // The handles carry no white, so a transparent draw shows every pixel.
    CBitmap* handle = new CBitmap(130);
    Canvas small(22, 28, kBlack);
    CDrawContext smallContext(nullptr, small.view, nullptr);
    CRect place{0, 0, 22, 28};
    handle->drawTransparent(&smallContext, place);
    for (int y = 0; y < 28; y++)
        for (int x = 0; x < 22; x++)
            ASSERT_EQ(colourAt(small, x, y), pictureColor(*handle, x, y));
    handle->forget();
}

} // namespace
