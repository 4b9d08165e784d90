// The sliders: handle geometry with numbers, the handle's pixels over the
// background, and every mouse mode driven by a scripted pointer.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CSlider.h"

namespace {

using Values = std::vector<float>;

// The bass editor's Mix slider: 118 pixels of travel, value 0 at the bottom.
CVerticalSlider* mixSlider(CControlListener* listener = nullptr, int32_t style = kStyleMinBottom)
{
    auto* background = new CBitmap(128);
    auto* handle = new CBitmap(130);
    auto* s = new CVerticalSlider(CRect{53, 38, 75, 184}, listener, 0, 38, 156, handle, background,
                                  CPoint{53, 38}, style);
    background->forget(); // the slider holds its own references
    handle->forget();
    return s;
}

// Laid out as the bass editor's horizontal slider maker does: 183 pixels.
CHorizontalSlider* wideSlider(CControlListener* listener, int32_t style)
{
    auto* handle = new CBitmap(129);
    auto* s = new CHorizontalSlider(CRect{20, 200, 220, 228}, listener, 1, 20, 203, handle, nullptr,
                                    CPoint{}, style);
    handle->forget();
    return s;
}

// The Mix slider's free-click value at a height.
float mixValueAt(int v)
{
    return 1.0f - static_cast<float>(v - 51) / 118.0f;
}

void drawOn(Canvas& canvas, CControl& control)
{
    CanvasContext context(canvas);
    control.draw(context.get());
}

TEST(SliderGeometry, VerticalHandleAndGrab)
{
    std::unique_ptr<CVerticalSlider> s(mixSlider());
    EXPECT_EQ(s->getMinLimit(), 0);
    EXPECT_EQ(s->getMaxLimit(), 146);
    EXPECT_EQ(s->getHandlePos(), 156);
    s->setValue(0.5f);
    EXPECT_EQ(s->getHandleRect(), (CRect{0, 59, 22, 87}));
    s->setValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(s->getHandleRect(), (CRect{0, 118, 22, 146})); // drawn as 0
    s->setValue(1e30f);
    EXPECT_EQ(s->getHandleRect(), (CRect{0, 0, 22, 28})); // saturated
    s->setValue(0.5f);

    int32_t grab = 0;
    ASSERT_TRUE(s->getGrabOffset(CPoint{}, grab));
    EXPECT_EQ(grab, 51); // free click: minPos + 28 / 2 - 1
    EXPECT_FLOAT_EQ(s->getValueAt(CPoint{60, 51}, grab), 1.0f);
    EXPECT_FLOAT_EQ(s->getValueAt(CPoint{60, 169}, grab), 0.0f);
    s->setFreeClick(false); // now only the handle, at its last drawn place
    EXPECT_FALSE(s->getGrabOffset(CPoint{60, 150}, grab));
    ASSERT_TRUE(s->getGrabOffset(CPoint{75, 184}, grab));
    EXPECT_EQ(grab, 38 + 28); // handlePos 156 from construction
}

TEST(SliderGeometry, HorizontalBothSidesAndANewHandle)
{
    std::unique_ptr<CHorizontalSlider> left(wideSlider(nullptr, kStyleMinLeft));
    std::unique_ptr<CHorizontalSlider> right(wideSlider(nullptr, kStyleMinRight));
    EXPECT_EQ(left->getMaxLimit(), 199);
    EXPECT_EQ(left->getHandlePos(), 20); // where value 0 sits, until drawn
    left->setValue(1.0f);
    EXPECT_EQ(left->getHandleRect(), (CRect{183, 0, 199, 28}));
    right->setValue(0.0f);
    EXPECT_EQ(right->getHandleRect(), (CRect{183, 0, 199, 28}));
    EXPECT_FLOAT_EQ(left->getValueAt(CPoint{210, 214}, 27), 1.0f);
    EXPECT_FLOAT_EQ(right->getValueAt(CPoint{210, 214}, 27), 0.0f);
    Canvas canvas(340, 262, kBlack);
    drawOn(canvas, *left);
    EXPECT_EQ(left->getHandlePos(), 203);

    // A new handle keeps the size and limits taken from the first.
    auto* big = new CBitmap(130);
    left->setHandle(big);
    EXPECT_EQ(big->getReferenceCount(), 2);
    EXPECT_EQ(left->getHandleRect(), (CRect{183, 0, 199, 28}));
    left.reset();
    EXPECT_EQ(big->getReferenceCount(), 1);
    big->forget();
}

TEST(SliderPixels, HandleIsDrawnOverTheBackgroundAtItsPlace)
{
    for (const float value : {0.0f, 1.0f, 0.5f}) {
        std::unique_ptr<CVerticalSlider> s(mixSlider());
        s->setValue(value);
        Canvas drawn(340, 262, kBlack), expected(340, 262, kBlack);
        drawOn(drawn, *s);
        paint(expected, s->getBackground(), CRect{53, 38, 75, 184}, CPoint{53, 38});
        const int top = 38 + static_cast<int>((1.0f - value) * 118.0f);
        paint(expected, s->getHandle(), CRect{53, top, 75, top + 28}, CPoint{}, true);
        EXPECT_TRUE(samePixels(drawn, expected)) << "value " << value;
    }
}

class SliderMouse : public ::testing::Test {
protected:
    CVerticalSlider* addMix(float value, CControlListener* listener)
    {
        CVerticalSlider* s = harness.add(mixSlider(listener));
        s->setValue(value);
        return s;
    }
    ControlHarness harness;
};

TEST_F(SliderMouse, FreeClickJumpsAndTheDragFollows)
{
    CVerticalSlider* s = addMix(0.2f, harness.editor);
    harness.show();
    const uint32_t press = harness.press(60, 110);
    harness.moveTo(60, 80);
    harness.moveTo(60, 20);  // past the top
    harness.moveTo(60, 250); // past the bottom
    ASSERT_TRUE(harness.release(press));
    const Values seen = harness.editor->values();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_FLOAT_EQ(seen[0], 0.5f);
    EXPECT_FLOAT_EQ(seen[1], mixValueAt(80));
    EXPECT_EQ(seen[2], 1.0f);
    EXPECT_EQ(seen[3], 0.0f);
    EXPECT_EQ(s->getHandlePos(), 156); // redrawn by the passes' idle
}

TEST_F(SliderMouse, ShiftMovesATenthFromWhereItWentDown)
{
    addMix(0.2f, harness.editor);
    harness.show();
    uint32_t press = harness.press(60, 110, kPrimary, kShift);
    harness.moveTo(60, 51, kPrimary, kShift);
    ASSERT_TRUE(harness.release(press, kShift));
    Values seen = harness.editor->values();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0], 0.23f); // 0.2 + (0.5 - 0.2) / 10
    EXPECT_FLOAT_EQ(seen[1], 0.28f);

    // Pressed during a drag, shift anchors at the value reached; released,
    // the value follows the mouse again.
    harness.editor->clear();
    press = harness.press(60, 110);
    harness.moveTo(60, 110, kPrimary, kShift);
    harness.moveTo(60, 51, kPrimary, kShift);
    harness.moveTo(60, 51);
    ASSERT_TRUE(harness.release(press));
    seen = harness.editor->values();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_FLOAT_EQ(seen[0], 0.5f);
    EXPECT_FLOAT_EQ(seen[1], 0.55f);
    EXPECT_EQ(seen[2], 1.0f);
}

TEST_F(SliderMouse, CommandRestoresTheDefaultOrEndsTheDrag)
{
    CVerticalSlider* s = addMix(0.9f, harness.editor);
    harness.show();
    harness.click(60, 170, kPrimary, kCommand);
    EXPECT_EQ(s->getValue(), 0.5f);
    harness.idle(); // drawn: clean at the default, so no second notification
    harness.click(60, 170, kPrimary, kCommand);
    EXPECT_EQ(harness.editor->values(), (Values{0.5f}));

    // Command during a drag makes one more pass, then the loop ends with
    // the button still held.
    const uint32_t press = harness.press(60, 80);
    harness.set(60, 80, kPrimary, kCommand);
    EXPECT_TRUE(harness.pressDone(press, 5000000));
    harness.set(60, 80, 0);
    EXPECT_FLOAT_EQ(s->getValue(), mixValueAt(80));
}

TEST_F(SliderMouse, WithoutFreeClickOnlyTheHandleMovesRelatively)
{
    CVerticalSlider* s = addMix(0.5f, harness.editor);
    s->setFreeClick(false);
    harness.show();
    harness.click(60, 96);                         // one pixel above the handle
    const uint32_t press = harness.press(75, 125); // its bottom-right pixel
    EXPECT_TRUE(harness.editor->values().empty()); // grabbed where it is
    harness.moveTo(75, 115);
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(harness.editor->values().size(), 1u);
    EXPECT_FLOAT_EQ(s->getValue(), 0.5f + 10.0f / 118.0f);
}

TEST_F(SliderMouse, MinimumTopAndMinimumRight)
{
    CVerticalSlider* top = harness.add(mixSlider(harness.editor, kStyleMinTop));
    top->setValue(0.5f);
    harness.add(wideSlider(harness.editor, kStyleMinRight));
    harness.show();
    uint32_t press = harness.press(60, 51);
    harness.moveTo(60, 169);
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(top->getHandlePos(), 156); // value 1 is drawn at the bottom
    press = harness.press(27, 214);
    harness.moveTo(210, 214);
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(harness.editor->values(), (Values{0.0f, 1.0f, 1.0f, 0.0f}));
    EXPECT_EQ(harness.editor->senders(), (std::vector<int32_t>{0, 0, 1, 1}));
}

TEST_F(SliderMouse, IgnoredClicksNullListenerAndNoTravel)
{
    CVerticalSlider* quiet = addMix(0.2f, nullptr);
    auto* flat = harness.add(new CVerticalSlider(CRect{200, 38, 216, 184}, harness.editor, 2, 60,
                                                 60, nullptr, nullptr, CPoint{}, kStyleMinTop));
    flat->setValue(0.5f);
    harness.show();
    harness.click(60, 110, kSecondary);
    harness.click(60, 110, kPrimary, kControl);
    harness.click(60, 110, kPrimary | kSecondary);
    EXPECT_EQ(quiet->getValue(), 0.2f);

    uint32_t press = harness.press(60, 80);
    ASSERT_TRUE(harness.release(press));
    EXPECT_FLOAT_EQ(quiet->getValue(), mixValueAt(80));

    // No travel: 0 / 0 at the grab point counts as 0; past it, 1.
    press = harness.press(205, 59);
    harness.moveTo(205, 150);
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(harness.editor->values(), (Values{0.0f, 1.0f}));
}

} // namespace
