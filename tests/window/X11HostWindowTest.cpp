// X11HostWindow and X11InputDriver against a stand-in for a plug-in's
// window, made here on a connection of its own as the first child of the
// host's window: the top-level's names and hints, the child's pixels read
// back, XTest presses and keys arriving at the child where and as they were
// sent (also under a reparenting window manager), the ways a user ends the
// window, and a live window on a server without XTest. Needs $DISPLAY (make
// test starts a private Xvfb).
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"
#include "PrivateXServer.h"
#include "WindowManagerClose.h"
#include "platform/api/EditorScale.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/backends/x11/X11Backend.h"
#include "platform/backends/x11/X11HostWindow.h"
#include "platform/backends/x11/X11InputDriver.h"

namespace {

constexpr bigtime_t kPatience = 5000000;

struct FreeEvent {
    void operator()(void* p) const { std::free(p); }
};
using Event = std::unique_ptr<xcb_generic_event_t, FreeEvent>;

// What a plug-in makes in a Linux host's window: one child, one colour,
// taking buttons and keys.
class PlugInWindow {
public:
    PlugInWindow(uint32_t parent, uint16_t width, uint16_t height, uint32_t colour)
        : c(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        id = xcb_generate_id(c);
        const uint32_t values[] = {colour, XCB_EVENT_MASK_BUTTON_PRESS |
                                               XCB_EVENT_MASK_BUTTON_RELEASE |
                                               XCB_EVENT_MASK_KEY_PRESS};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, parent, 0, 0, width, height, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        xcb_map_window(c, id);
        xcb_flush(c);
    }
    ~PlugInWindow() { xcb_disconnect(c); }

    // The next event of one of these types, null after `timeout`.
    Event next(std::initializer_list<uint8_t> types, bigtime_t timeout = kPatience)
    {
        const bigtime_t end = system_time() + timeout;
        for (;;) {
            Event e(xcb_poll_for_event(c));
            if (e && std::find(types.begin(), types.end(), e->response_type & 0x7F) != types.end())
                return e;
            if (!e && system_time() >= end)
                return nullptr;
            if (!e)
                snooze(2000);
        }
    }

    // The last key pressed within `timeout`: modifier keys come before it.
    Event lastKey(bigtime_t timeout = 200000)
    {
        Event last;
        while (Event e = next({XCB_KEY_PRESS}, timeout))
            last = std::move(e);
        return last;
    }

    xcb_connection_t* c;
    uint32_t id = 0;
};

// $DISPLAY names another server for one test's life.
class OtherDisplay {
public:
    explicit OtherDisplay(const std::string& name) : before(std::getenv("DISPLAY"))
    {
        setenv("DISPLAY", name.c_str(), 1);
    }
    ~OtherDisplay() { setenv("DISPLAY", before.c_str(), 1); }

private:
    std::string before;
};

// The least a reparenting window manager does: each top-level window goes
// into a frame of its own at (kFrameX, kFrameY), under a title bar
// kTitle high, and gets the focus once mapped.
class StandInWindowManager {
public:
    static constexpr int16_t kFrameX = 50, kFrameY = 60, kTitle = 20;

    StandInWindowManager() : c(xcb_connect(nullptr, nullptr))
    {
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* e = xcb_request_check(
            c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));
        managing = e == nullptr;
        std::free(e);
        if (managing)
            loop = std::thread([this] { run(); });
    }
    ~StandInWindowManager()
    {
        stop = true;
        if (loop.joinable())
            loop.join();
        xcb_disconnect(c);
    }

    bool managing = false;

private:
    void run()
    {
        while (!stop) {
            Event e(xcb_poll_for_event(c));
            if (!e) {
                snooze(2000);
                continue;
            }
            if ((e->response_type & 0x7F) != XCB_MAP_REQUEST)
                continue;
            const xcb_window_t client = reinterpret_cast<xcb_map_request_event_t*>(e.get())->window;
            const xcb_window_t frame = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, frame, root, kFrameX, kFrameY, 400, 300, 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_reparent_window(c, client, frame, 0, kTitle);
            xcb_map_window(c, client);
            xcb_map_window(c, frame);
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, client, XCB_CURRENT_TIME);
            xcb_flush(c);
        }
    }

    xcb_connection_t* c;
    xcb_window_t root = 0;
    std::atomic<bool> stop{false};
    std::thread loop;
};

class X11Host : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no DISPLAY (make test runs these under a private Xvfb)";
        std::string whyNot;
        host = X11HostWindow::open({"Wobrix Test \xc3\xa9", "wobrix-test", "WobrixTest"}, 120, 80,
                                   kPatience, &whyNot);
        ASSERT_TRUE(host) << whyNot;
        input = X11InputDriver::open(host->id(), &whyNot);
        ASSERT_TRUE(input) << whyNot;
    }

    std::string shell(const std::string& commandLine)
    {
        char pattern[] = "/tmp/wobrix-x11-test-XXXXXX";
        EXPECT_NE(mkdtemp(pattern), nullptr);
        const Result r = runCommand(pattern, commandLine);
        std::filesystem::remove_all(pattern);
        return r.out;
    }

    // The plug-in's stand-in inside the window, once the window has it.
    void waitForChild(const PlugInWindow& plugIn)
    {
        const bigtime_t end = system_time() + kPatience;
        while (host->child() != plugIn.id && system_time() < end)
            snooze(5000);
        ASSERT_EQ(host->child(), plugIn.id);
    }

    std::unique_ptr<X11HostWindow> host;
    std::unique_ptr<X11InputDriver> input;
};

TEST_F(X11Host, TopLevelIsNamedFixedInSizeAndShowsItsChildsPixels)
{
    char id[16];
    std::snprintf(id, sizeof id, "0x%x", host->id());
    EXPECT_NE(shell("xwininfo -root -tree").find(std::string(id) + " \"Wobrix Test"),
              std::string::npos);
    const std::string props = shell(std::string("xprop -id ") + id);
    for (const char* line :
         {"WM_NAME(STRING) = \"Wobrix Test \xc3\xa9\"",
          "_NET_WM_NAME(UTF8_STRING) = \"Wobrix Test \xc3\xa9\"",
          "WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW",
          "WM_CLASS(STRING) = \"wobrix-test\", \"WobrixTest\"",
          "program specified minimum size: 120 by 80", "program specified maximum size: 120 by 80"})
        EXPECT_NE(props.find(line), std::string::npos) << line << "\n" << props;

    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0;
    EXPECT_EQ(host->child(), 0u);
    EXPECT_FALSE(host->childShown());
    ASSERT_TRUE(input->copyPixels(&pixels, &width, &height));
    EXPECT_EQ(width, 120);
    EXPECT_EQ(height, 80);

    // The child's pixels, not ours: blue, green, red, opaque.
    const PlugInWindow plugIn(host->id(), 100, 50, 0x123456);
    const bigtime_t end = system_time() + kPatience;
    while ((host->child() != plugIn.id || !input->copyPixels(&pixels, &width, &height)) &&
           system_time() < end)
        snooze(5000);
    ASSERT_EQ(width, 100);
    ASSERT_EQ(height, 50);
    const std::vector<uint8_t> corner(pixels.end() - 4, pixels.end());
    EXPECT_EQ(corner, (std::vector<uint8_t>{0x56, 0x34, 0x12, 0xFF}));
}

TEST_F(X11Host, PressesAndKeysArriveAtTheChildAsSent)
{
    PlugInWindow plugIn(host->id(), 120, 80, 0);
    waitForChild(plugIn);
    host->focusChild();

    struct Click {
        uint32_t buttons, keys;
        uint8_t button;
        uint16_t state;
    };
    for (const Click& click : {Click{1, 0, 1, 0}, Click{2, B_SHIFT_KEY, 3, XCB_MOD_MASK_SHIFT},
                               Click{4, B_COMMAND_KEY, 2, XCB_MOD_MASK_CONTROL}}) {
        ASSERT_TRUE(input->setPointer(30, 40, click.buttons, click.keys));
        ASSERT_TRUE(input->setPointer(31, 41, 0, 0));
        const Event down = plugIn.next({XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE});
        const Event up = plugIn.next({XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE});
        ASSERT_TRUE(down && up) << click.button;
        const auto* press = reinterpret_cast<xcb_button_press_event_t*>(down.get());
        EXPECT_EQ(press->response_type & 0x7F, XCB_BUTTON_PRESS);
        EXPECT_EQ(press->detail, click.button);
        EXPECT_EQ(press->event_x, 30);
        EXPECT_EQ(press->event_y, 40);
        EXPECT_EQ(press->state & 0xFF, click.state) << click.button;
        EXPECT_EQ(reinterpret_cast<xcb_button_release_event_t*>(up.get())->event_x, 31);
    }

    // The same key with and without shift; Enter and Q on keys of their own.
    std::string whyNot;
    uint8_t codes[4] = {};
    uint16_t states[4] = {};
    const char* const keys[] = {"a", "A", "\n", "q"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(input->key(keys[i], 1, 0, &whyNot)) << whyNot;
        const Event e = plugIn.lastKey();
        ASSERT_TRUE(e) << i;
        codes[i] = reinterpret_cast<xcb_key_press_event_t*>(e.get())->detail;
        states[i] = reinterpret_cast<xcb_key_press_event_t*>(e.get())->state;
    }
    EXPECT_EQ(codes[0], codes[1]);
    EXPECT_NE(codes[0], codes[2]);
    EXPECT_EQ(states[0] & XCB_MOD_MASK_SHIFT, 0);
    EXPECT_NE(states[1] & XCB_MOD_MASK_SHIFT, 0);
    // A character no key makes is refused, not sent as something else.
    EXPECT_FALSE(input->key("\xe2\x82\xac", 3, 0, &whyNot));
    EXPECT_NE(whyNot.find("no key"), std::string::npos) << whyNot;

    // Ctrl+Q is the host's, wherever the focus is in the window.
    EXPECT_FALSE(host->closeRequested());
    ASSERT_TRUE(input->key("q", 1, B_COMMAND_KEY, &whyNot));
    EXPECT_TRUE(host->closeRequested(kPatience));
    const Event control = plugIn.lastKey();
    EXPECT_TRUE(!control ||
                reinterpret_cast<xcb_key_press_event_t*>(control.get())->detail != codes[3]);
}

TEST_F(X11Host, TheWindowManagersCloseEndsIt)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    EXPECT_FALSE(host->closeRequested());
    std::free(askToClose(c, host->id()));
    EXPECT_TRUE(host->closeRequested(kPatience));
    xcb_disconnect(c);
}

TEST_F(X11Host, DestroyedByAnotherProgramItIsClosed)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    EXPECT_FALSE(host->closeRequested());
    xcb_destroy_window(c, host->id());
    xcb_flush(c);
    EXPECT_TRUE(host->closeRequested(kPatience));
    EXPECT_EQ(host->child(), 0u);
    xcb_disconnect(c);
}

// A live window needs nothing of the server but the core protocol; only the
// scripted input asks for XTest, and says so when it is missing.
TEST(X11HostOwnServer, TheLiveWindowOpensWithoutXTest)
{
    PrivateXServer server;
    std::string why;
    if (!server.start(why, {"-extension", "XTEST"}))
        GTEST_SKIP() << why;
    const OtherDisplay display(server.name());
    auto host = X11HostWindow::open({"No XTest", "", ""}, 60, 40, kPatience, &why);
    ASSERT_TRUE(host) << why;
    EXPECT_FALSE(host->closeRequested());
    EXPECT_FALSE(X11InputDriver::open(host->id(), &why));
    EXPECT_NE(why.find("XTEST"), std::string::npos) << why;
}

// Under a window manager the window sits in a frame elsewhere on the screen
// and gets the focus as a whole: presses still land on the plug-in's window
// where they were meant, and the focus passes on to it, so keys do too.
TEST(X11HostOwnServer, InputReachesThePlugInUnderAWindowManager)
{
    PrivateXServer server;
    std::string why;
    if (!server.start(why))
        GTEST_SKIP() << why;
    const OtherDisplay display(server.name());
    StandInWindowManager manager;
    ASSERT_TRUE(manager.managing);
    auto host = X11HostWindow::open({"Framed", "", ""}, 120, 80, kPatience, &why);
    ASSERT_TRUE(host) << why;
    auto input = X11InputDriver::open(host->id(), &why);
    ASSERT_TRUE(input) << why;
    PlugInWindow plugIn(host->id(), 120, 80, 0);
    const bigtime_t end = system_time() + kPatience;
    while (host->child() != plugIn.id && system_time() < end)
        snooze(5000);
    ASSERT_EQ(host->child(), plugIn.id);
    EXPECT_FALSE(host->closeRequested(100000)); // takes the frame's focus

    ASSERT_TRUE(input->setPointer(30, 40, B_PRIMARY_MOUSE_BUTTON, 0));
    ASSERT_TRUE(input->setPointer(30, 40, 0, 0));
    const Event down = plugIn.next({XCB_BUTTON_PRESS});
    ASSERT_TRUE(down);
    EXPECT_EQ(reinterpret_cast<xcb_button_press_event_t*>(down.get())->event_x, 30);
    EXPECT_EQ(reinterpret_cast<xcb_button_press_event_t*>(down.get())->event_y, 40);
    EXPECT_EQ(reinterpret_cast<xcb_button_press_event_t*>(down.get())->root_x,
              StandInWindowManager::kFrameX + 30);

    // The pointer away from the window: the key goes where the focus is.
    ASSERT_TRUE(input->setScreenPointer(600, 470, 0, 0));
    ASSERT_TRUE(input->key("a", 1, 0, &why)) << why;
    EXPECT_TRUE(plugIn.lastKey(kPatience / 5));
}

// Nothing else said, the X server's Xft.dpi (as xrdb sets it) decides.
TEST(X11HostOwnServer, TheServersXftDpiSetsTheScale)
{
    PrivateXServer server;
    std::string why;
    if (!server.start(why))
        GTEST_SKIP() << why;
    const OtherDisplay display(server.name());
    const char* program = std::getenv(editor_scale::kProgramVariable);
    const char* gdk = std::getenv("GDK_SCALE");
    if (program != nullptr || gdk != nullptr)
        GTEST_SKIP() << "the environment sets the scale";
    EXPECT_EQ(chooseX11Scale(0), 1);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (const auto& [resources, scale] : {std::pair{"Xft.antialias:\t1\nXft.dpi:\t192\n", 2},
                                           {"Xft.dpi: 288\n", 3},
                                           {"Xft.dpi:\t96\n", 1}}) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, XCB_ATOM_RESOURCE_MANAGER,
                            XCB_ATOM_STRING, 8, static_cast<uint32_t>(std::strlen(resources)),
                            resources);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        EXPECT_EQ(chooseX11Scale(0), scale) << resources;
        EXPECT_EQ(chooseX11Scale(4), 4);
    }
    xcb_disconnect(c);
}

} // namespace
