// The knobs: angle and value mapping with numbers, the strip picture a value
// picks, the pixels of both knobs, and the circular and linear drags.
#include <gtest/gtest.h>

#include <limits>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CKnob.h"

namespace {

using Values = std::vector<float>;
const CRect kDial{100, 100, 140, 140}; // 40 wide, inset 5: radius 15 around (20, 20)
const CRect kLowDial{100, 200, 140, 240};
const float kNaN = std::numeric_limits<float>::quiet_NaN();
CPoint none;

CPoint pointFor(CKnob& knob, float value)
{
    knob.setValue(value);
    CPoint p;
    knob.valueToPoint(p);
    return p;
}

float valueAt(CKnob& knob, int h, int v)
{
    CPoint p{h, v};
    return knob.valueFromPoint(p);
}

int rowFor(CAnimKnob& knob, float value)
{
    knob.setValue(value);
    return knob.getSourceRow();
}

TEST(KnobMapping, ValueToPointRunsClockwiseFromSevenThirty)
{
    CKnob knob(kDial, nullptr, 0, nullptr, nullptr, none);
    EXPECT_EQ(pointFor(knob, 0.5f), (CPoint{20, 5}));
    EXPECT_EQ(pointFor(knob, 0.0f), (CPoint{9, 31}));
    EXPECT_EQ(pointFor(knob, 1.0f), (CPoint{31, 31}));
    EXPECT_EQ(pointFor(knob, kNaN), (CPoint{9, 31})); // counts as 0
    knob.setMin(0.5f);
    knob.setMax(0.5f); // no range: the angle is not a number, and saturates
    pointFor(knob, 0.5f);

    auto* handle = new CBitmap(129);
    CKnob withHandle(kDial, nullptr, 0, nullptr, handle, none);
    EXPECT_EQ(withHandle.getInset(), 8); // half the handle's width
    handle->forget();
}

TEST(KnobMapping, ValueFromPointAndTheDeadSector)
{
    CKnob knob(kDial, nullptr, 0, nullptr, nullptr, none);
    EXPECT_FLOAT_EQ(valueAt(knob, 20, 20), 1.0f / 6.0f); // the centre, as nine o'clock
    EXPECT_FLOAT_EQ(valueAt(knob, 5, 20), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(valueAt(knob, 20, 5), 0.5f);
    EXPECT_FLOAT_EQ(valueAt(knob, 35, 20), 5.0f / 6.0f);
    EXPECT_EQ(valueAt(knob, 15, 35), 0.0f); // left of six
    EXPECT_EQ(valueAt(knob, 25, 35), 1.0f); // right of six
    // Each point of the circle reads back its value, within a pixel's worth.
    for (float v = 0.05f; v < 1.0f; v += 0.1f) {
        const CPoint p = pointFor(knob, v);
        EXPECT_NEAR(valueAt(knob, p.h, p.v), v, 0.04f) << v;
    }
    knob.setMin(10.0f);
    knob.setMax(20.0f);
    EXPECT_FLOAT_EQ(valueAt(knob, 20, 5), 15.0f);
    EXPECT_EQ(valueAt(knob, 15, 35), 10.0f);
}

TEST(AnimKnobStrip, ValuePicksThePicture)
{
    CAnimKnob five(kDial, nullptr, 0, 5, 40, nullptr, none);
    EXPECT_EQ(five.getInset(), 0);
    EXPECT_EQ(rowFor(five, 0.3f), 40);
    EXPECT_EQ(rowFor(five, 1.0f), 160);
    EXPECT_EQ(rowFor(five, 0.0f), 0);
    EXPECT_EQ(rowFor(five, kNaN), 0);
    EXPECT_EQ(rowFor(five, 5.0f), 160); // past the end: the last picture
    EXPECT_EQ(rowFor(five, 1e30f), 160);
    CAnimKnob ten(kDial, nullptr, 0, 10, 40, nullptr, none);
    EXPECT_EQ(rowFor(ten, 0.999f), 320);
    EXPECT_EQ(rowFor(ten, 1.0f), 360);
}

TEST(KnobPixels, HandleOnTheCircleAndOnePictureOfAStrip)
{
    auto* dial = new CBitmap(128);
    auto* handle = new CBitmap(129);
    CPoint from{100, 100};
    CKnob knob(kDial, nullptr, 0, dial, handle, from);
    ASSERT_EQ(pointFor(knob, 0.5f), (CPoint{20, 8})); // inset 8: radius 12
    Canvas drawn(340, 262, kBlack), expected(340, 262, kBlack);
    CanvasContext context(drawn);
    knob.draw(context.get());
    paint(expected, dial, kDial, from);
    // The handle's top-left corner is its centre less the inset.
    paint(expected, handle, CRect{112, 100, 128, 128}, CPoint{}, true);
    EXPECT_TRUE(samePixels(drawn, expected));

    // The skin's background as a strip of 26 pictures of 10 rows.
    CAnimKnob strip(CRect{0, 20, 340, 30}, nullptr, 0, 26, 10, dial, none);
    ASSERT_EQ(rowFor(strip, 0.3f), 70); // t = 75 of 250: picture 7
    strip.draw(context.get());
    paint(expected, dial, CRect{0, 20, 340, 30}, CPoint{0, 70});
    EXPECT_TRUE(samePixels(drawn, expected));
    dial->forget();
    handle->forget();
}

TEST(KnobPixels, AnimKnobWithoutWholePicturesDrawsNothing)
{
    auto* missing = new CBitmap(999); // not in the resources: 0 x 0
    auto* kick = new CBitmap(131);
    CAnimKnob failed(kDial, nullptr, 0, 50, 0, missing, none);
    CAnimKnob flat(kDial, nullptr, 0, 50, 76 / 50 - 1, kick, none); // 0 rows each
    CAnimKnob empty(kDial, nullptr, 0, 0, 38, kick, none);
    missing->forget();
    kick->forget();
    for (CAnimKnob* knob : {&failed, &flat, &empty}) {
        knob->setValue(0.6f);
        Canvas canvas(340, 262, kBlack);
        CanvasContext context(canvas);
        knob->draw(context.get());
        EXPECT_TRUE(canvas.painted(colorBlack).empty());
        EXPECT_FALSE(knob->isDirty());
    }
}

class KnobMouse : public ::testing::Test {
protected:
    CKnob* addKnob(CRect size, float value, CControlListener* listener)
    {
        auto* knob = harness.add(new CKnob(size, listener, 3, nullptr, nullptr, none));
        knob->setValue(value);
        harness.show();
        return knob;
    }
    ControlHarness harness;
};

TEST_F(KnobMouse, CircularDragFollowsTheAngleAndHoldsAcrossTheDeadSector)
{
    addKnob(kDial, 0.2f, harness.editor);
    uint32_t press = harness.press(120, 105); // twelve
    harness.moveTo(135, 120);                 // three
    ASSERT_TRUE(harness.release(press));
    Values seen = harness.editor->values();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0], 0.5f);
    EXPECT_FLOAT_EQ(seen[1], 5.0f / 6.0f);

    harness.editor->clear();
    press = harness.press(131, 131); // four-thirty: the top
    harness.moveTo(120, 136);        // six
    harness.moveTo(109, 131);        // seven-thirty
    harness.moveTo(105, 120);        // nine: still too far from the top
    EXPECT_EQ(harness.editor->values(), (Values{1.0f}));
    harness.moveTo(120, 105); // twelve: within half the range again
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(harness.editor->values(), (Values{1.0f, 0.5f}));
}

TEST_F(KnobMouse, LinearDragCoversTheRangeInAHundredPixelsOrThreeWithShift)
{
    CKnob* knob = addKnob(kLowDial, 0.0f, harness.editor);
    uint32_t press = harness.press(120, 235, kPrimary, kControl);
    harness.moveTo(120, 185, kPrimary, kControl);
    harness.moveTo(120, 100, kPrimary, kControl); // past the top: held at 1
    ASSERT_TRUE(harness.release(press, kControl));
    Values seen = harness.editor->values();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0], 0.5f);
    EXPECT_FLOAT_EQ(seen[1], 1.0f);

    // Shift during the drag changes the rate, not the value.
    knob->setValue(0.2f);
    harness.idle();
    harness.editor->clear();
    press = harness.press(120, 220, kPrimary, kControl);
    harness.moveTo(120, 170, kPrimary, kControl);
    harness.moveTo(120, 170, kPrimary, kControl | kShift);
    harness.moveTo(120, 140, kPrimary, kControl | kShift);
    ASSERT_TRUE(harness.release(press, kControl | kShift));
    seen = harness.editor->values();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_NEAR(seen.front(), 0.7f, 1e-5f);
    for (const float v : seen)
        EXPECT_TRUE(v >= 0.7f - 1e-5f && v <= 0.8f + 1e-5f) << v;
    EXPECT_NEAR(knob->getValue(), 0.8f, 1e-5f); // 30 more pixels at 1/300
}

TEST_F(KnobMouse, CommandClickNullListenerAndNaN)
{
    CKnob* knob = addKnob(kDial, 0.9f, harness.editor);
    CKnob* quiet = addKnob(kLowDial, kNaN, nullptr);
    harness.click(120, 120, kPrimary, kCommand);
    EXPECT_EQ(knob->getValue(), 0.5f);
    harness.idle(); // clean at the default: the next one tells nobody
    harness.click(120, 120, kPrimary, kCommand);
    harness.click(120, 120, kSecondary);
    EXPECT_EQ(harness.editor->values(), (Values{0.5f}));

    const uint32_t press = harness.press(120, 220, kPrimary, kControl);
    harness.moveTo(120, 170, kPrimary, kControl);
    ASSERT_TRUE(harness.release(press, kControl));
    EXPECT_FLOAT_EQ(quiet->getValue(), 0.5f); // a NaN drag starts from 0
}

} // namespace
