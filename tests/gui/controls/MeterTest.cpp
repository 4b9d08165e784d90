// The meters and special displays: the VU meter's split and fall, the
// digits a special digit display shows and their pictures, and the splash
// screen's show and hide as the frame's modal view.
#include <gtest/gtest.h>

#include <limits>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CSpecialDigit.h"
#include "gui/controls/CSplashScreen.h"
#include "gui/controls/CVuMeter.h"

namespace {

using Values = std::vector<float>;
using Digits = CSpecialDigit::Digits;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

class VuMeterTest : public ::testing::Test {
protected:
    // Draws a vertical meter at a level; the rows above the lit part.
    int splitAt(CVuMeter& meter, float level)
    {
        meter.setValue(level);
        meter.draw(context.get());
        return meter.getLitRect().top - meter.size.top;
    }
    CRect place{0, 0, 10, 10};
    CFrame frame{place, nullptr, nullptr};
    Canvas canvas{340, 262, kBlack};
    CanvasContext context{canvas};
};

TEST_F(VuMeterTest, VerticalLevelsLightWholeSegmentsFromTheBottom)
{
    auto* lit = new CBitmap(frame, 44, 100);
    CVuMeter meter(CRect{44, 100, 0, 0}, lit, nullptr, 10, 0);
    lit->forget();
    EXPECT_EQ(meter.getLitRect(), (CRect{0, 0, 44, 100})); // normalised
    meter.size = CRect{0, 0, 44, 100};
    EXPECT_EQ(splitAt(meter, 0.44f), 60); // 4 segments lit
    EXPECT_EQ(splitAt(meter, 0.5f), 50);
    EXPECT_EQ(splitAt(meter, 0.56f), 40);
    EXPECT_EQ(meter.getLitOrigin(), (CPoint{0, 40}));
    EXPECT_EQ(meter.getUnlitRect(), (CRect{0, 0, 44, 40}));
    EXPECT_EQ(splitAt(meter, 1.5f), 0);
    EXPECT_EQ(meter.getValue(), 1.0f); // clamped at draw
    EXPECT_TRUE(meter.isDirty());      // update clears it, not draw
}

TEST_F(VuMeterTest, HorizontalLevelsGrowFromTheLeft)
{
    auto* lit = new CBitmap(frame, 100, 20);
    CVuMeter meter(CRect{10, 0, 110, 20}, lit, nullptr, 10, kStyleHorizontal);
    lit->forget();
    meter.draw(context.get());
    EXPECT_EQ(meter.getLitRect(), (CRect{10, 0, 10, 20}));
    meter.setValue(0.44f);
    meter.draw(context.get());
    EXPECT_EQ(meter.getLitRect(), (CRect{10, 0, 50, 20}));
    EXPECT_EQ(meter.getUnlitRect(), (CRect{50, 0, 110, 20}));
    EXPECT_EQ(meter.getUnlitOrigin(), (CPoint{40, 0}));
}

TEST_F(VuMeterTest, TheShownLevelFallsByTheDecayStepPerDraw)
{
    auto* lit = new CBitmap(frame, 44, 100);
    CVuMeter meter(CRect{0, 0, 44, 100}, lit, nullptr, 10, 0);
    lit->forget();
    meter.setValue(0.8f);
    meter.draw(context.get());
    meter.setDecreaseStepValue(0.1f);
    for (float expected : {0.7f, 0.6f, 0.5f}) {
        meter.setValue(0.2f);
        meter.draw(context.get());
        EXPECT_FLOAT_EQ(meter.getValue(), expected);
        EXPECT_EQ(meter.getOldValue(), meter.getValue());
    }
    meter.setValue(0.9f); // a rise shows at once
    meter.draw(context.get());
    EXPECT_EQ(meter.getValue(), 0.9f);
    meter.setDecreaseStepValue(1.0f);
    meter.setValue(kNaN); // silence
    meter.draw(context.get());
    EXPECT_EQ(meter.getValue(), 0.0f);
}

TEST_F(VuMeterTest, DrawsTheUnlitPictureAboveTheLitOne)
{
    auto* lit = new CBitmap(131);
    auto* unlit = new CBitmap(128);
    CVuMeter meter(CRect{0, 0, 44, 76}, lit, unlit, 4, 0);
    CVuMeter dark(CRect{100, 0, 144, 76}, nullptr, unlit, 4, 0);
    EXPECT_EQ(unlit->getReferenceCount(), 3);
    meter.setValue(0.5f);
    meter.draw(context.get());
    dark.setValue(1.5f);
    dark.draw(context.get()); // no lit picture: nothing at all
    EXPECT_EQ(dark.getValue(), 1.5f);
    Canvas expected(340, 262, kBlack);
    paint(expected, unlit, CRect{0, 0, 44, 38}, CPoint{0, 0});
    paint(expected, lit, CRect{0, 38, 44, 76}, CPoint{0, 38});
    EXPECT_TRUE(samePixels(canvas, expected));
    lit->forget();
    unlit->forget();
}

const int32_t kX[7] = {10, 20, 30, 40, 50, 60, 70};
const int32_t kY[7] = {5, 5, 5, 5, 5, 5, 5};

TEST(SpecialDigit, ShowsTheClampedIntegerDigitByDigit)
{
    CSpecialDigit three(CRect{10, 5, 40, 12}, nullptr, 0, 0, 3, kX, kY, 10, 7, nullptr);
    EXPECT_EQ(three.getMax(), 999.0f);
    EXPECT_EQ(three.getMin(), 0.0f);
    struct Case {
        float value;
        Digits digits;
    };
    const Case cases[] = {
        {42.9f, {0, 4, 2}}, {1500.0f, {9, 9, 9}}, {-3.0f, {0, 0, 0}},  {999.0f, {9, 9, 9}},
        {kNaN, {0, 0, 0}},  {1e30f, {9, 9, 9}},   {-1e30f, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        three.setValue(c.value);
        EXPECT_EQ(three.getDigits(), c.digits) << c.value;
    }

    three.setValue(500.0f);
    EXPECT_NEAR(three.getNormValue(), 0.5005f, 1e-6f);
    three.setValue(2000.0f);
    EXPECT_EQ(three.getNormValue(), 1.0f);
    three.setValue(kNaN);
    EXPECT_EQ(three.getNormValue(), 0.0f);

    CSpecialDigit start(CRect{}, nullptr, 0, 17, 2, kX, kY, 10, 7, nullptr);
    EXPECT_EQ(start.getValue(), 17.0f);
    EXPECT_EQ(start.getDigits(), (Digits{1, 7}));
}

TEST(SpecialDigit, MoreThanSevenDigitsShowSevenAndSmallRangesNeverDivideByZero)
{
    // Only seven positions are read from the arrays.
    CSpecialDigit nine(CRect{}, nullptr, 0, 123456789, 9, kX, kY, 10, 7, nullptr);
    EXPECT_EQ(nine.getDigitCount(), 9);
    EXPECT_EQ(nine.getShownDigitCount(), 7);
    EXPECT_EQ(nine.getMax(), 9999999.0f);
    EXPECT_EQ(nine.getDigits(), (Digits{9, 9, 9, 9, 9, 9, 9}));
    nine.setValue(1234567.0f);
    EXPECT_EQ(nine.getDigits(), (Digits{1, 2, 3, 4, 5, 6, 7}));

    // A maximum below 9 leaves no divisor: the number stays in one digit.
    CSpecialDigit narrow(CRect{}, nullptr, 0, 3, 3, kX, kY, 10, 7, nullptr);
    narrow.setMax(5.0f);
    narrow.setValue(8.0f);
    EXPECT_EQ(narrow.getDigits(), (Digits{5, 0, 0}));
    narrow.setMax(0.0f);
    EXPECT_EQ(narrow.getNormValue(), 1.0f);
    CSpecialDigit none(CRect{}, nullptr, 0, 3, 0, kX, kY, 10, 7, nullptr);
    EXPECT_EQ(none.getMax(), 0.0f);
    EXPECT_EQ(none.getDigits(), (Digits{}));
    EXPECT_EQ(none.getNormValue(), 1.0f);
}

TEST(SpecialDigit, EachDigitDrawsItsPictureAtItsPosition)
{
    auto* strip = new CBitmap(131); // 76 rows: ten digits of 7
    CSpecialDigit digits(CRect{10, 5, 40, 12}, nullptr, 0, 42, 3, kX, kY, 10, 7, strip);
    strip->forget();
    Canvas drawn(340, 262, kBlack), expected(340, 262, kBlack);
    CanvasContext context(drawn);
    digits.draw(context.get());
    paint(expected, strip, CRect{10, 5, 20, 12}, CPoint{0, 0});
    paint(expected, strip, CRect{20, 5, 30, 12}, CPoint{0, 28});
    paint(expected, strip, CRect{30, 5, 40, 12}, CPoint{0, 14});
    EXPECT_TRUE(samePixels(drawn, expected));
    EXPECT_FALSE(digits.isDirty());
}

// A modal view that hands its clicks to another view, to click a control
// while it is up.
class PassOn : public CView {
public:
    PassOn(const CRect& size, CView* to) : CView(size), target(to) {}
    void mouse(CDrawContext* context, CPoint& where) override { target->mouse(context, where); }

private:
    CView* target;
};

class SplashMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        picture = new CBitmap(128);
        splash = harness.add(
            new CSplashScreen(kSmall, harness.editor, 8, picture, kPicture, CPoint{20, 30}));
        // The frame's own picture is the same one from elsewhere, so a hidden
        // splash leaves a different picture in its place.
        harness.window.window()->Lock();
        harness.frame->setBackground(picture);
        harness.window.window()->Unlock();
        picture->forget();
        harness.show();
    }
    void setModal(CView* view)
    {
        harness.window.window()->Lock();
        harness.frame->setModalView(view);
        harness.window.window()->Unlock();
    }
    const CRect kSmall{10, 10, 30, 30};
    const CRect kPicture{50, 40, 250, 200};
    ControlHarness harness;
    CBitmap* picture = nullptr;
    CSplashScreen* splash = nullptr;
};

TEST_F(SplashMouse, AClickShowsThePictureAndAClickInItHidesIt)
{
    EXPECT_FALSE(harness.windowShows(kPicture, picture, CPoint{20, 30}));
    harness.click(20, 20);
    EXPECT_EQ(harness.frame->getModalView(), splash);
    EXPECT_EQ(splash->size, kPicture);
    EXPECT_TRUE(harness.windowShows(kPicture, picture, CPoint{20, 30}));
    harness.click(200, 20); // outside the picture: reaches no view
    EXPECT_EQ(harness.editor->values(), (Values{1.0f}));

    harness.click(200, 150);
    EXPECT_EQ(harness.frame->getModalView(), nullptr);
    EXPECT_EQ(splash->size, kSmall);
    EXPECT_EQ(splash->getValue(), 0.0f);
    EXPECT_TRUE(harness.windowShows(kPicture, picture, CPoint{50, 40})); // the frame redrew
    EXPECT_EQ(harness.editor->values(), (Values{1.0f, 0.0f}));
    EXPECT_EQ(harness.editor->senders()[1], 8);
}

TEST_F(SplashMouse, ARefusedShowTellsNothingAndTheNextClickShows)
{
    PassOn other(CRect{0, 0, 40, 40}, splash);
    setModal(&other);
    harness.click(20, 20);
    EXPECT_EQ(splash->getValue(), 1.0f);
    EXPECT_FALSE(splash->isShown());
    EXPECT_EQ(splash->size, kSmall);
    EXPECT_TRUE(harness.editor->values().empty());
    EXPECT_EQ(harness.frame->getModalView(), &other);

    // The other view goes; an update must not put the picture up unasked.
    setModal(nullptr);
    harness.idle();
    EXPECT_FALSE(harness.windowShows(kPicture, picture, CPoint{20, 30}));
    harness.click(20, 20);
    EXPECT_TRUE(splash->isShown());
    EXPECT_EQ(splash->size, kPicture);
    EXPECT_EQ(harness.editor->values(), (Values{1.0f}));
    harness.click(60, 50);
    EXPECT_EQ(splash->size, kSmall);
    EXPECT_EQ(harness.editor->values(), (Values{1.0f, 0.0f}));
}

TEST(SplashScreen, WithoutAFrameTheShowIsRefused)
{
    CSplashScreen alone(CRect{10, 10, 30, 30}, nullptr, 0, nullptr, CRect{0, 0, 5, 5}, CPoint{});
    ControlHarness harness; // only for a press context
    harness.add(new PassOn(CRect{0, 0, 40, 40}, &alone));
    harness.show();
    harness.click(20, 20);
    EXPECT_EQ(alone.getValue(), 1.0f);
    EXPECT_EQ(alone.size, (CRect{10, 10, 30, 30}));
}

} // namespace
