// The window, frame and recording editor the mouse tests share.
#include "ControlHarness.h"

#include <gtest/gtest.h>

#include <cstring>

#include "PixelCompare.h"

namespace {

constexpr bigtime_t kTimeout = 5000000;
// Each pass reads the pointer three times: buttons, modifiers, then the place
// the next pass computes from. Five states posted, each seen by a later read,
// span five reads in a row, among them a place read followed by a whole
// state word: that pass worked from the new point and the new keys.
constexpr int kSettlePosts = 5;

} // namespace

ControlHarness::ControlHarness() : effect(new QuietEffect), editor(new RecordingEditor(effect))
{
    CRect size{0, 0, 340, 262};
    window.window()->Lock();
    frame = new CFrame(size, window.view(), editor);
    editor->setFrame(frame);
    window.window()->Unlock();
}

ControlHarness::~ControlHarness()
{
    window.host().endInput(); // a loop left tracking by a failed test ends
    window.window()->Lock();
    editor->setFrame(nullptr);
    delete frame;
    window.window()->Unlock();
    delete effect;
}

void ControlHarness::show()
{
    EXPECT_TRUE(window.host().redraw(kTimeout));
    idle();
}

uint32_t ControlHarness::press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    const uint32_t serial = window.host().postPress(x, y, buttons, keys);
    EXPECT_NE(serial, 0u);
    moveTo(x, y, buttons, keys);
    return serial;
}

void ControlHarness::moveTo(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    for (int i = 0; i < kSettlePosts; i++) {
        set(x, y, buttons, keys);
        EXPECT_TRUE(window.host().waitPointerSeen(kTimeout));
    }
}

void ControlHarness::set(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    lastX = x;
    lastY = y;
    window.host().setPointer(x, y, buttons, keys);
}

bool ControlHarness::release(uint32_t serial, uint32_t keys)
{
    set(lastX, lastY, 0, keys);
    const bool done = pressDone(serial, kTimeout);
    set(lastX, lastY, 0, 0);
    return done;
}

bool ControlHarness::pressDone(uint32_t serial, bigtime_t timeout)
{
    return window.host().waitPress(serial, timeout);
}

void ControlHarness::click(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    const uint32_t serial = window.host().postPress(x, y, buttons, keys);
    EXPECT_NE(serial, 0u);
    EXPECT_TRUE(pressDone(serial, kTimeout)); // the press state is held until then
    set(x, y, 0, 0);
}

bool ControlHarness::key(const char* bytes, uint32_t keys)
{
    const uint32_t serial =
        window.host().postKey(bytes, static_cast<int32_t>(std::strlen(bytes)), keys);
    return serial != 0 && window.host().waitKey(serial, kTimeout);
}

bool ControlHarness::type(const char* text)
{
    return window.host().typeText(text, kTimeout);
}

::testing::AssertionResult ControlHarness::windowShows(CRect rect, CBitmap* bitmap, CPoint from)
{
    Canvas expected(340, 262, kBlack); // the window's size
    paint(expected, bitmap, rect, from);
    window.window()->Lock();
    for (int32_t y = rect.top; y < rect.bottom; y++)
        for (int32_t x = rect.left; x < rect.right; x++) {
            const rgb_color shown = window.pixelAt(x, y);
            const CColor want = colourAt(expected, x, y);
            if (shown.red != want.red || shown.green != want.green || shown.blue != want.blue) {
                window.window()->Unlock();
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << ")";
            }
        }
    window.window()->Unlock();
    return ::testing::AssertionSuccess();
}
