// The switches: which strip picture a value shows, the positions a drag
// reads along each axis with their boundary rows and columns, the default
// click, a key ending the drag, and the rocker's halves and notifications.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CSwitch.h"

namespace {

using Values = std::vector<float>;
const CRect kBox{100, 100, 140, 130}; // 40 wide, 30 high
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const CPoint none;

TEST(SwitchPictures, ValuePicksThePictureOnTheStepsBelowIt)
{
    struct Case {
        int positions;
        float value;
        int index;
    };
    const Case cases[] = {
        {3, 0.0f, 0},  {3, 0.49f, 0},       {3, 0.5f, 1},        {3, 0.99f, 1},   {3, 1.0f, 2},
        {3, 7.0f, 2},  {3, -1.0f, 0},       {3, kNaN, 0},        {1, 1.0f, 0},    {0, 0.7f, 0},
        {-4, 1.0f, 0}, {4, 1.0f / 3.0f, 1}, {4, 2.0f / 3.0f, 2}, {4, 0.3333f, 0},
    };
    for (const Case& c : cases) {
        CVerticalSwitch vertical(kBox, nullptr, 0, c.positions, 30, c.positions, nullptr, none);
        CHorizontalSwitch horizontal(kBox, nullptr, 0, c.positions, 30, c.positions, nullptr, none);
        vertical.setValue(c.value);
        horizontal.setValue(c.value);
        EXPECT_EQ(vertical.getImageIndex(), c.index) << c.positions << " " << c.value;
        EXPECT_EQ(horizontal.getImageIndex(), c.index) << c.positions << " " << c.value;
    }
    CVerticalSwitch fresh(kBox, nullptr, 0, 3, 30, 3, nullptr, none);
    EXPECT_EQ(fresh.getDefaultValue(), 0.0f);
}

TEST(SwitchPictures, DrawsFromTheRowOfItsPicture)
{
    auto* strip = new CBitmap(128);
    CVerticalSwitch vertical(kBox, nullptr, 0, 3, 30, 3, strip, none);
    CRockerSwitch rocker(kBox, nullptr, 0, 30, strip, CPoint{10, 5});
    strip->forget();
    Canvas drawn(340, 262, kBlack), expected(340, 262, kBlack);
    CanvasContext context(drawn);
    vertical.setValue(0.5f);
    vertical.draw(context.get());
    paint(expected, vertical.getBackground(), kBox, CPoint{0, 30});
    EXPECT_TRUE(samePixels(drawn, expected));
    EXPECT_FALSE(vertical.isDirty());

    // Rest and +1 move down; anything else, -1 included, shows the first.
    struct Case {
        float value;
        int row;
    };
    for (const Case& c : {Case{0.0f, 35}, Case{1.0f, 65}, Case{-1.0f, 5}, Case{0.5f, 5}}) {
        rocker.setValue(c.value);
        EXPECT_EQ(rocker.getPictureOrigin(), (CPoint{10, c.row})) << c.value;
    }
    rocker.setValue(1.0f);
    rocker.draw(context.get());
    paint(expected, rocker.getBackground(), kBox, CPoint{10, 65});
    EXPECT_TRUE(samePixels(drawn, expected));
}

class SwitchMouse : public ::testing::Test {
protected:
    template <class T> T* addSwitch(T* control, float value)
    {
        harness.add(control);
        control->setValue(value);
        harness.show();
        harness.editor->clear();
        return control;
    }
    // A press at the first point, dragged through the others, released.
    Values drag(const std::vector<CPoint>& points)
    {
        const uint32_t press = harness.press(points[0].h, points[0].v);
        for (size_t i = 1; i < points.size(); i++)
            harness.moveTo(points[i].h, points[i].v);
        EXPECT_TRUE(harness.release(press));
        return harness.editor->values();
    }
    ControlHarness harness;
};

TEST_F(SwitchMouse, VerticalPositionsChangeOnRowsTenAndTwenty)
{
    // 30 rows over 3 positions: a pitch of 10, boundary rows to the next.
    addSwitch(new CVerticalSwitch(kBox, harness.editor, 4, 3, 30, 3, nullptr, none), 1.0f);
    const Values seen =
        drag({{120, 100}, {120, 110}, {120, 109}, {120, 119}, {120, 120}, {120, 119}, {120, 99}});
    EXPECT_EQ(seen, (Values{0.0f, 0.5f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f}));
    EXPECT_EQ(harness.editor->senders()[0], 4);
}

TEST_F(SwitchMouse, HorizontalPositionsKeepTheBoundaryColumn)
{
    // A background 60 wide over 3 positions: a pitch of 20, x = 20 still 0.
    auto* wide = new CBitmap(*harness.frame, 60, 90);
    addSwitch(new CHorizontalSwitch(kBox, harness.editor, 4, 3, 30, 3, wide, none), 1.0f);
    wide->forget();
    const Values seen =
        drag({{120, 110}, {121, 110}, {120, 110}, {140, 110}, {141, 110}, {140, 110}, {90, 110}});
    EXPECT_EQ(seen, (Values{0.0f, 0.5f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f}));
}

TEST_F(SwitchMouse, CommandClickRestoresZeroAndTellsOnlyAChange)
{
    auto* s =
        addSwitch(new CVerticalSwitch(kBox, harness.editor, 4, 3, 30, 3, nullptr, none), 0.5f);
    harness.click(120, 125, kPrimary, kCommand);
    EXPECT_EQ(s->getValue(), 0.0f);
    harness.idle();
    harness.click(120, 125, kPrimary, kCommand);
    harness.click(120, 125, kSecondary);
    EXPECT_EQ(harness.editor->values(), (Values{0.0f}));
}

TEST_F(SwitchMouse, AKeyPressedDuringTheDragEndsIt)
{
    auto* s =
        addSwitch(new CVerticalSwitch(kBox, harness.editor, 4, 3, 30, 3, nullptr, none), 1.0f);
    const uint32_t press = harness.press(120, 100);
    harness.set(120, 125, kPrimary, kShift);
    EXPECT_TRUE(harness.pressDone(press, 5000000)); // still held, yet over
    harness.set(120, 125, 0, 0);
    // The pass that read the new point saw the key and stopped before using it.
    EXPECT_EQ(s->getValue(), 0.0f);
    EXPECT_EQ(harness.editor->values(), (Values{0.0f}));
}

TEST_F(SwitchMouse, NoPositionsAndNoListenerAreHarmless)
{
    auto* s = addSwitch(new CVerticalSwitch(kBox, nullptr, 4, 0, 30, 0, nullptr, none), 0.0f);
    drag({{120, 100}, {120, 129}});
    EXPECT_EQ(s->getValue(), 1.0f); // one position: always the end
    EXPECT_TRUE(harness.editor->values().empty());
}

TEST_F(SwitchMouse, RockerHalvesMeetOnTheLeftAndReleaseEndsAtZero)
{
    auto* rocker = addSwitch(new CRockerSwitch(kBox, harness.editor, 9, 30, nullptr, none), 0.0f);
    // 40 wide: x = left + 20 is still the left half.
    EXPECT_EQ(drag({{120, 110}}), (Values{-1.0f, 0.0f}));
    harness.editor->clear();
    EXPECT_EQ(drag({{121, 110}}), (Values{1.0f, 0.0f}));
    harness.editor->clear();
    EXPECT_EQ(drag({{100, 130}, {140, 100}}), (Values{-1.0f, 1.0f, 0.0f})); // corners count
    EXPECT_EQ(rocker->getValue(), 0.0f);
}

TEST_F(SwitchMouse, RockerDraggedOutFallsBackToItsEntryValue)
{
    addSwitch(new CRockerSwitch(kBox, harness.editor, 9, 30, nullptr, none), 0.0f);
    EXPECT_EQ(drag({{130, 110}, {200, 200}}), (Values{1.0f, 0.0f, 0.0f}));
}

} // namespace
