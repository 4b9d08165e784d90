// Pop-up menus on a headless window: Go from a press blocks until the host
// answers (after or before the menu opened), dismisses, or ends its input;
// separators are not counted; the point is on the screen; off a window's
// thread Go does not wait.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/Menu.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/headless/HeadlessHost.h"

namespace {

constexpr bigtime_t kPatience = 5000000;

// A press opens the menu a, -, b, c at the pressed point and records the answer.
class MenuButton : public BView {
public:
    explicit MenuButton(BRect frame) : BView(frame, "menu button", B_FOLLOW_NONE, 0) {}

    void MouseDown(BPoint where) override
    {
        BPopUpMenu menu("popup", true, false);
        for (const char* label : {"a", "-", "b", "c"}) {
            if (std::string(label) == "-") {
                menu.AddSeparatorItem();
            } else {
                auto* message = new BMessage(0);
                message->AddInt32("item", menu.CountItems());
                menu.AddItem(new BMenuItem(label, message));
            }
        }
        BPoint screen = where;
        ConvertToScreen(&screen);
        BMenuItem* chosen = menu.Go(screen);
        std::lock_guard<std::mutex> hold(mutex);
        lockedDuringGo = Window()->IsLocked();
        location = menu.Location();
        answer = chosen != nullptr ? chosen->Label() : "none";
        if (chosen != nullptr)
            chosen->Message()->FindInt32("item", &position);
        marked = chosen != nullptr && chosen->IsMarked() && menu.FindMarked() == chosen;
    }

    std::mutex mutex;
    std::string answer;
    int32_t position = -1;
    BPoint location;
    bool lockedDuringGo = false;
    bool marked = false;
};

// A window over its own host at a screen origin, with one menu button.
struct MenuFixture {
    MenuFixture() : host(80, 60, 100, 50), window(adoptHeadlessWindow(host.record()))
    {
        button = new MenuButton(BRect(10, 10, 49, 29));
        window->Lock();
        window->ChildAt(0)->AddChild(button);
        window->Unlock();
    }
    ~MenuFixture()
    {
        window->Lock();
        window->Quit();
    }
    HeadlessHost host;
    BWindow* window;
    MenuButton* button;
};

} // namespace

TEST(PlatformMenu, GoWaitsForTheHostsAnswer)
{
    enum class When { AfterOpen, BeforeOpen, EndOfInput };
    struct Case {
        const char* what;
        When when;
        int32_t choice;
        const char* answer;
        int32_t position;
    };
    const Case cases[] = {
        {"the first item", When::AfterOpen, 0, "a", 0},
        {"separators are not counted", When::AfterOpen, 1, "b", 2},
        {"answered before the menu opened", When::BeforeOpen, 2, "c", 3},
        {"dismissed", When::AfterOpen, -1, "none", -1},
        {"out of range dismisses", When::AfterOpen, 3, "none", -1},
        {"the end of input dismisses", When::EndOfInput, 0, "none", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuFixture f;
        if (c.when == When::BeforeOpen)
            f.host.answerMenu(c.choice);
        EXPECT_EQ(f.host.menuAnswerTaken(), c.when != When::BeforeOpen);
        const uint32_t press = f.host.postPress(15, 22, B_PRIMARY_MOUSE_BUTTON);
        ASSERT_TRUE(f.host.waitMenuOpened(1, kPatience));
        EXPECT_EQ(f.host.menuItems(), 3);
        // Window (15, 22) is on the screen at (115, 72).
        EXPECT_EQ(f.host.menuLocation(), BPoint(115, 72));
        if (c.when == When::AfterOpen) {
            EXPECT_FALSE(f.host.waitPress(press, 30000)); // still waiting for an answer
            EXPECT_EQ(f.host.menusClosed(), 0u);
            f.host.answerMenu(c.choice);
        } else if (c.when == When::EndOfInput) {
            f.host.endInput();
        }
        ASSERT_TRUE(f.host.waitMenuClosed(1, kPatience));
        ASSERT_TRUE(f.host.waitPress(press, kPatience));
        EXPECT_TRUE(f.host.menuAnswerTaken());
        EXPECT_EQ(f.host.menusOpened(), 1u);
        std::lock_guard<std::mutex> hold(f.button->mutex);
        EXPECT_EQ(f.button->answer, c.answer);
        EXPECT_EQ(f.button->position, c.position);
        EXPECT_EQ(f.button->marked, c.position >= 0); // radio mode marks the choice
        EXPECT_TRUE(f.button->lockedDuringGo);
        EXPECT_EQ(f.button->location, BPoint(115, 72));
    }
}

TEST(PlatformMenu, OneAnswerServesOneMenu)
{
    MenuFixture f;
    f.host.answerMenu(0);
    f.host.answerMenu(2); // replaces the answer not taken yet
    uint32_t press = f.host.postPress(15, 22, B_PRIMARY_MOUSE_BUTTON);
    ASSERT_TRUE(f.host.waitPress(press, kPatience));
    {
        std::lock_guard<std::mutex> hold(f.button->mutex);
        EXPECT_EQ(f.button->answer, "c");
    }
    // The next menu waits for an answer of its own.
    press = f.host.postPress(15, 22, B_PRIMARY_MOUSE_BUTTON);
    ASSERT_TRUE(f.host.waitMenuOpened(2, kPatience));
    EXPECT_FALSE(f.host.waitPress(press, 30000));
    f.host.answerMenu(0);
    ASSERT_TRUE(f.host.waitPress(press, kPatience));
    std::lock_guard<std::mutex> hold(f.button->mutex);
    EXPECT_EQ(f.button->answer, "a");
}

TEST(PlatformMenu, OffAWindowThreadGoDoesNotWait)
{
    HeadlessHost host(10, 10);
    BPopUpMenu menu("popup");
    menu.AddItem(new BMenuItem("only", nullptr));
    host.answerMenu(0);
    EXPECT_EQ(menu.Go(BPoint(3, 4)), nullptr);
    EXPECT_EQ(menu.Location(), BPoint(3, 4));
    EXPECT_EQ(menu.CountItems(), 1);
    EXPECT_EQ(menu.ItemAt(1), nullptr);
    EXPECT_FALSE(menu.AddItem(nullptr));
}
