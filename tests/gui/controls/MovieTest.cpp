// The strip controls: the movie bitmap's rounding from value to picture, the
// movie button's toggle over a press, and the auto animation's frame steps
// and its show and hide clicks.
#include <gtest/gtest.h>

#include <limits>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CMovieBitmap.h"

namespace {

using Values = std::vector<float>;
const CRect kKickBox{285, 13, 329, 51}; // picture 131: two pictures of 38 rows
const CRect kBox{100, 100, 140, 130};
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const CPoint none;

TEST(MovieBitmapStrip, ValueRoundsToTheNearestPicture)
{
    struct Case {
        int count;
        float value;
        int index;
        float stored;
    };
    const Case cases[] = {
        {5, 0.0f, 0, 0.0f}, {5, 0.1f, 0, 0.1f}, {5, 0.125f, 1, 0.125f}, {5, 0.5f, 2, 0.5f},
        {5, 1.0f, 4, 1.0f}, {5, 1.5f, 4, 1.0f}, {5, -0.5f, 0, -0.5f},   {5, 1e30f, 4, 1.0f},
        {1, 1.0f, 0, 1.0f}, {0, 0.8f, 0, 0.8f}, {-3, 0.8f, 0, 0.8f},
    };
    Canvas canvas(340, 262, kBlack);
    CanvasContext context(canvas);
    for (const Case& c : cases) {
        CMovieBitmap movie(kBox, nullptr, 0, c.count, 10, nullptr, none);
        movie.setValue(c.value);
        movie.draw(context.get());
        EXPECT_EQ(movie.getImageIndex(), c.index) << c.count << " " << c.value;
        EXPECT_EQ(movie.getValue(), c.stored) << c.count << " " << c.value;
    }
    CMovieBitmap movie(kBox, nullptr, 0, 5, 10, nullptr, none);
    movie.setValue(kNaN);
    EXPECT_EQ(movie.getImageIndex(), 0);

    // The picture is read from the offset plus whole pictures.
    auto* strip = new CBitmap(128);
    CMovieBitmap drawn(kBox, nullptr, 0, 5, 10, strip, CPoint{7, 3});
    strip->forget();
    Canvas expected(340, 262, kBlack);
    drawn.setValue(0.5f);
    drawn.draw(context.get());
    paint(expected, strip, kBox, CPoint{7, 23});
    EXPECT_TRUE(samePixels(canvas, expected));
    EXPECT_FALSE(drawn.isDirty());
}

TEST(MovieButtonPicture, AnyValueButZeroShowsTheLowerPicture)
{
    CMovieButton button(kKickBox, nullptr, 0, 38, nullptr, CPoint{5, 5});
    Canvas canvas(340, 262, kBlack);
    CanvasContext context(canvas);
    struct Case {
        float value;
        int row;
        float stored;
    };
    for (const Case& c : {Case{0.3f, 38, 0.3f}, Case{1.7f, 38, 1.0f}, Case{-2.0f, 0, 0.0f},
                          Case{kNaN, 0, 0.0f}, Case{0.0f, 0, 0.0f}}) {
        button.setValue(c.value);
        button.draw(context.get());
        EXPECT_EQ(button.getPictureRow(), c.row) << c.value;
        EXPECT_EQ(button.getValue(), c.stored) << c.value;
    }
}

class MovieButtonMouse : public ::testing::Test {
protected:
    CMovieButton* addButton(CControlListener* listener)
    {
        auto* bitmap = new CBitmap(131);
        auto* button = harness.add(new CMovieButton(kKickBox, listener, 6, 38, bitmap, none));
        bitmap->forget();
        harness.show();
        return button;
    }
    Values pressAndLeave(int x, int y)
    {
        harness.idle();
        harness.editor->clear();
        const uint32_t press = harness.press(300, 30);
        harness.moveTo(x, y);
        EXPECT_TRUE(harness.release(press));
        return harness.editor->values();
    }
    ControlHarness harness;
};

TEST_F(MovieButtonMouse, AReleaseOverItTogglesAndOneOutsideKeepsTheState)
{
    CMovieButton* button = addButton(harness.editor);
    EXPECT_EQ(pressAndLeave(329, 51), (Values{1.0f})); // the far edges are inside
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(pressAndLeave(330, 30), (Values{0.0f, 1.0f}));
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(harness.editor->senders()[0], 6);
}

TEST_F(MovieButtonMouse, AKeyEndsTheTrackingAndANullListenerIsSkipped)
{
    CMovieButton* button = addButton(nullptr);
    const uint32_t press = harness.press(300, 30);
    harness.set(330, 30, kPrimary, kShift);
    EXPECT_TRUE(harness.pressDone(press, 5000000));
    harness.set(330, 30, 0, 0);
    EXPECT_EQ(button->getValue(), 1.0f); // left while over it
    harness.click(300, 30, kSecondary);
    EXPECT_EQ(button->getValue(), 1.0f);
}

TEST(AutoAnimationSteps, ForwardWrapsBeforeTheLastPictureAndBackJumpsBelowIt)
{
    CAutoAnimation three(kBox, nullptr, 0, 3, 10, nullptr, none);
    EXPECT_EQ(three.getTotalHeight(), 30);
    three.nextPixmap();
    EXPECT_EQ(three.getValue(), 10.0f);
    three.nextPixmap();
    EXPECT_EQ(three.getValue(), 0.0f);
    three.previousPixmap();
    EXPECT_EQ(three.getValue(), 19.0f); // a row above the last picture's top
    three.previousPixmap();
    EXPECT_EQ(three.getValue(), 9.0f);

    // One picture, or none: the steps stay on the strip's first row.
    for (int count : {1, 0}) {
        CAutoAnimation small(kBox, nullptr, 0, count, 10, nullptr, none);
        small.previousPixmap();
        EXPECT_EQ(small.getValue(), 0.0f) << count;
        small.nextPixmap();
        EXPECT_EQ(small.getValue(), 0.0f) << count;
    }
}

TEST(AutoAnimationSteps, HiddenDrawsNothingAndStaysDirty)
{
    auto* strip = new CBitmap(128);
    CAutoAnimation animation(kBox, nullptr, 0, 3, 10, strip, none);
    strip->forget();
    Canvas canvas(340, 262, kBlack);
    CanvasContext context(canvas);
    animation.draw(context.get());
    EXPECT_TRUE(canvas.painted(CColor{0, 0, 0, 0}).empty());
    EXPECT_TRUE(animation.isDirty());
    animation.openWindow();
    animation.setValue(kNaN); // counts as the first row
    animation.draw(context.get());
    Canvas expected(340, 262, kBlack);
    paint(expected, strip, kBox, CPoint{0, 0});
    EXPECT_TRUE(samePixels(canvas, expected));
}

TEST(AutoAnimationMouse, ClicksShowAtTheFirstPictureAndHideWithoutTelling)
{
    ControlHarness harness;
    auto* strip = new CBitmap(128);
    auto* animation =
        harness.add(new CAutoAnimation(kBox, harness.editor, 2, 3, 10, strip, CPoint{0, 40}));
    strip->forget();
    harness.show();
    animation->setValue(10.0f);

    harness.click(120, 110);
    EXPECT_TRUE(animation->isWindowOpened());
    EXPECT_EQ(harness.editor->values(), (Values{0.0f}));
    harness.idle(); // the owner's update draws the first picture
    EXPECT_TRUE(harness.windowShows(kBox, strip, CPoint{0, 40}));
    animation->nextPixmap();
    harness.idle();
    EXPECT_TRUE(harness.windowShows(kBox, strip, CPoint{0, 50}));

    harness.click(120, 110);
    EXPECT_FALSE(animation->isWindowOpened());
    EXPECT_EQ(animation->getValue(), 0.0f);
    EXPECT_TRUE(harness.windowShows(kBox, strip, CPoint{0, 40})); // drawn on the way out
    EXPECT_EQ(harness.editor->values(), (Values{0.0f}));
    harness.click(120, 110, kSecondary);
    EXPECT_FALSE(animation->isWindowOpened());
}

} // namespace
