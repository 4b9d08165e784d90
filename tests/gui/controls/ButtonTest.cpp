// The buttons: which half of the picture each value shows, the kick button's
// notifications over a press, and the on/off button's toggle on press.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/CButtons.h"

namespace {

using Values = std::vector<float>;
const CRect kKickBox{285, 13, 329, 51}; // the bass editor's, over picture 131
const float kNaN = std::numeric_limits<float>::quiet_NaN();

CKickButton* kickButton(CControlListener* listener)
{
    auto* bitmap = new CBitmap(131); // 44 x 76: two pictures of 38 rows
    auto* button = new CKickButton(kKickBox, listener, 7, 38, bitmap, CPoint{0, 0});
    bitmap->forget();
    return button;
}

// The button drawn shows exactly the picture from that row down.
::testing::AssertionResult shows(CControl& button, int row)
{
    Canvas drawn(340, 262, kBlack), expected(340, 262, kBlack);
    CanvasContext context(drawn);
    button.draw(context.get());
    paint(expected, button.getBackground(), button.size, CPoint{0, row});
    return samePixels(drawn, expected);
}

TEST(ButtonPictures, KickShowsTheSecondPictureForAnyValueButZero)
{
    std::unique_ptr<CKickButton> b(kickButton(nullptr));
    EXPECT_TRUE(shows(*b, 0));
    EXPECT_FALSE(shows(*b, 38)); // the halves differ
    b->setValue(0.3f);
    EXPECT_TRUE(shows(*b, 38));
    EXPECT_EQ(b->getValue(), 0.3f);
    b->setValue(1.7f);
    EXPECT_TRUE(shows(*b, 38));
    EXPECT_EQ(b->getValue(), 1.0f); // the draw clamps
    b->setValue(kNaN);
    EXPECT_TRUE(shows(*b, 0)); // counts as resting
    EXPECT_EQ(b->getValue(), 0.0f);
}

TEST(ButtonPictures, OnOffShowsTheLowerHalfWhenOn)
{
    auto* bitmap = new CBitmap(131);
    COnOffButton button(kKickBox, nullptr, 3, bitmap);
    bitmap->forget();
    EXPECT_TRUE(shows(button, 0));
    button.setValue(0.5f);
    EXPECT_TRUE(shows(button, 38));
    button.setValue(kNaN);
    EXPECT_EQ(button.getPictureRow(), 0);

    // An odd height: the second picture starts at half of it, rounded down.
    CRect place{0, 0, 10, 10};
    CFrame frame(place, nullptr, nullptr);
    auto* odd = new CBitmap(frame, 44, 21);
    COnOffButton oddButton(kKickBox, nullptr, 3, odd);
    odd->forget();
    oddButton.setValue(1.0f);
    EXPECT_EQ(oddButton.getPictureRow(), 10);
}

class KickMouse : public ::testing::Test {
protected:
    CKickButton* addKick(float value, CControlListener* listener)
    {
        CKickButton* kick = harness.add(kickButton(listener));
        kick->setValue(value);
        harness.show(); // drawn, so clean at its value
        return kick;
    }
    // A press inside that ends at (x, y), after an idle has drawn the last
    // press's final 0: a button left dirty at 0 is not dirty at 1.
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

TEST_F(KickMouse, OneWhileHeldOverItAndZeroAtTheEnd)
{
    CKickButton* kick = addKick(0.0f, harness.editor);
    // Inside: 1 on the first pass, the redraw makes it clean, 0 at the end.
    EXPECT_EQ(pressAndLeave(310, 40), (Values{1.0f, 0.0f}));
    EXPECT_EQ(harness.editor->senders()[0], 7);
    // Dragged off: 0 when the mouse leaves, 0 again at the end.
    EXPECT_EQ(pressAndLeave(330, 51), (Values{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(pressAndLeave(329, 51), (Values{1.0f, 0.0f})); // the edge is inside

    // From 1 the press gives 0 and leaving gives 1.
    kick->setValue(1.0f);
    harness.idle();
    EXPECT_EQ(pressAndLeave(200, 100), (Values{0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(kick->getValue(), 0.0f);
}

TEST_F(KickMouse, AHeldKeyKeepsTheTrackingAfterTheButtonIsUp)
{
    addKick(0.0f, harness.editor);
    const uint32_t press = harness.press(300, 30);
    harness.moveTo(300, 30, 0, kShift);
    EXPECT_FALSE(harness.pressDone(press, 100000));
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(harness.editor->values(), (Values{1.0f, 0.0f}));
}

TEST_F(KickMouse, OtherButtonsAndANullListenerAreIgnored)
{
    CKickButton* kick = addKick(0.0f, nullptr);
    harness.click(300, 30, kSecondary);
    const uint32_t press = harness.press(300, 30);
    ASSERT_TRUE(harness.release(press));
    EXPECT_EQ(kick->getValue(), 0.0f);
    EXPECT_TRUE(harness.editor->values().empty());
}

TEST(OnOffMouse, EachPrimaryClickToggles)
{
    ControlHarness harness;
    auto* bitmap = new CBitmap(131);
    auto* button = harness.add(new COnOffButton(kKickBox, harness.editor, 5, bitmap));
    auto* quiet = harness.add(new COnOffButton(CRect{10, 10, 54, 48}, nullptr, 6, bitmap));
    bitmap->forget();
    button->setValue(0.7f); // integer part 0: off
    harness.show();

    harness.click(300, 30);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_FALSE(button->isDirty()); // it drew itself on the press
    harness.click(300, 30);
    harness.click(300, 30, kSecondary);
    EXPECT_EQ(harness.editor->values(), (Values{1.0f, 0.0f}));

    button->setValue(1e30f); // far past int: still on
    harness.click(300, 30);
    EXPECT_EQ(button->getValue(), 0.0f);
    button->setValue(kNaN);
    harness.click(300, 30);
    EXPECT_EQ(button->getValue(), 1.0f);
    harness.click(20, 20);
    EXPECT_EQ(quiet->getValue(), 1.0f);
}

} // namespace
