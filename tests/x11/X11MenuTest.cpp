// The X11 back end's pop-up menu on the editor's own connection: what its
// loop reads for the editor's window goes back to the window (a map, an
// unmap of the host's window, a destroy), and a press the grab reports on the
// editor's window is placed by its screen point, so it dismisses the menu
// instead of choosing the item under the same window coordinates.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

#include "XDisplay.h"
#include "platform/backends/x11/X11Window.h"

namespace {

using namespace std::chrono_literals;

class MenuWindow final : public WindowEvents {
public:
    bool quitting() const override { return quit; }
    bool takeRedrawRequest() override { return false; }
    bool deliverRedraw() override { return true; }
    bool deliverPress(const WindowPress&) override { return true; }
    bool deliverKey(const char*, int32_t, uint32_t) override { return true; }
    bool wantsKeys() const override { return false; }

    std::atomic<bool> quit{false};
};

template <typename Check> bool within(std::chrono::milliseconds patience, Check check)
{
    const auto end = std::chrono::steady_clock::now() + patience;
    while (!check()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class X11MenuLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        ASSERT_TRUE(x.connect());
        parent = x.makeParent(0, 0, 100, 80);
        editor = X11Window::open(parent, 100, 80);
        ASSERT_TRUE(editor);
    }
    void TearDown() override
    {
        events.quit = true;
        if (menu.valid())
            menu.wait();
        if (editor)
            editor->detach();
    }

    void openMenu()
    {
        menu = std::async(std::launch::async, [this] {
            static const char* const kLabels[] = {"one", "two", "three"};
            return editor->runMenu(events, BPoint(200, 150), kLabels, 3);
        });
    }

    XDisplay x;
    xcb_window_t parent = 0;
    std::unique_ptr<X11Window> editor;
    MenuWindow events;
    std::future<int32_t> menu;
};

TEST_F(X11MenuLoop, HandsTheEditorsNoticesBackToItsWindow)
{
    openMenu(); // before the window thread ever read our map notice
    EXPECT_TRUE(within(5s, [&] { return editor->visible(); }));
    x.unmap(parent);
    EXPECT_TRUE(within(5s, [&] { return !editor->visible(); }));
    x.map(parent);
    EXPECT_TRUE(within(5s, [&] { return editor->visible(); }));
    x.destroy(parent);
    EXPECT_TRUE(within(5s, [&] { return !editor->visible(); }));
    events.quit = true;
    EXPECT_EQ(menu.get(), -1);
}

TEST_F(X11MenuLoop, APressOnTheEditorsWindowDismissesTheMenu)
{
    openMenu();
    // The menu's loop runs (and holds its grab) once our map notice is read.
    ASSERT_TRUE(within(5s, [&] { return editor->visible(); }));
    // (10, 10) of the editor's window: in menu coordinates the first item.
    x.movePointer(10, 10);
    x.pressButton();
    x.releaseButton();
    ASSERT_EQ(menu.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(menu.get(), -1);
}

} // namespace
