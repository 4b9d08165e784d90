// wobrix-host editor --window run as a user runs it: the add-on for Linux
// hosts in an X11 window, its pictures read back from the server against the
// headless golden pictures and against the same script played headless into
// the add-on for our hosts, and the one-line refusals of windows an add-on
// does not take or a display that is not there.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "CliRun.h"
#include "PrivateXServer.h"
#include "WindowManagerClose.h"
#include "tests/support/GoldenPicture.h"

namespace fs = std::filesystem;

namespace {

const std::string kHostsAddOn = std::string("'") + WOBRIX_HOSTS_ADDON + "'";
const std::string kAddOn = std::string("'") + WOBRIX_ADDON + "'";

class HostWindow : public CliFolderTest {
protected:
    // env: what `env` sets or unsets first. A hang fails (status 124).
    Result run(const std::string& args, const std::string& env = "")
    {
        // The pictures are 1x unless a test asks: no scale from the caller's
        // environment.
        return runCommand(dir, "env -u GDK_SCALE -u WOBRIX_EDITOR_SCALE " + env + " timeout 60 '" +
                                   WOBRIX_HOST + "' " + args);
    }
    std::string png(const std::string& name) const { return (dir / name).string(); }
    bool skipWithoutDisplay() const { return std::getenv("DISPLAY") == nullptr; }
};

TEST_F(HostWindow, EachProgramShowsTheGoldenPicture)
{
    if (skipWithoutDisplay())
        GTEST_SKIP() << "no DISPLAY (make test runs this under a private Xvfb)";
    for (int program = 0; program < 4; ++program) {
        const std::string name = "editor-p" + std::to_string(program);
        const Result r = run("editor " + kHostsAddOn + " --window --program " +
                             std::to_string(program) + " --png '" + png(name + ".png") + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        const Picture picture = readPng(png(name + ".png"));
        ASSERT_EQ(picture.width, 340) << name;
        ASSERT_EQ(picture.height, 262) << name;
        expectGolden(picture, name);
    }
}

// --scale N (or GDK_SCALE) shows every editor pixel as an N x N block;
// out of range, or without a window, it is refused.
TEST_F(HostWindow, ScaleShowsEachPixelAsABlock)
{
    if (skipWithoutDisplay())
        GTEST_SKIP() << "no DISPLAY (make test runs this under a private Xvfb)";
    const Picture golden = goldenPicture("editor-p0");
    for (const auto& [args, env] : {std::pair{" --scale 2", ""}, {"", "GDK_SCALE=2"}}) {
        const Result r = run("editor " + kHostsAddOn + " --window --program 0" + args + " --png '" +
                                 png("x2.png") + "'",
                             env);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("editor: 680 x 524"), std::string::npos) << r.out;
        const Picture big = readPng(png("x2.png"));
        ASSERT_EQ(big.width, 680);
        ASSERT_EQ(big.height, 524);
        int differ = 0;
        for (int y = 0; y < big.height; ++y)
            for (int x = 0; x < big.width; ++x)
                differ += big.at(x, y) != golden.at(x / 2, y / 2);
        EXPECT_EQ(differ, 0) << args << env;
    }
    for (const char* refused : {" --window --scale 5", " --scale 2"}) {
        const Result r = run("editor " + kHostsAddOn + refused + " --png '" + png("no.png") + "'");
        EXPECT_NE(r.status, 0) << refused;
        EXPECT_NE(r.err.find("--scale"), std::string::npos) << r.err;
    }
}

TEST_F(HostWindow, AScriptActsAsInAHeadlessWindow)
{
    if (skipWithoutDisplay())
        GTEST_SKIP() << "no DISPLAY (make test runs this under a private Xvfb)";
    // The compressor down while held, then the tube slider up and released.
    auto play = [this](const std::string& addOnAndWindow, const std::string& tag) {
        const fs::path steps = dir / (tag + ".txt");
        std::ofstream(steps) << "press 245 50\nmove 245 170\npng " << png(tag + "-held.png")
                             << "\nrelease\ndrag 155 170 155 60 6\n";
        return run("editor " + addOnAndWindow + " --program 3 --script '" + steps.string() +
                   "' --png '" + png(tag + ".png") + "'");
    };
    const Result window = play(kHostsAddOn + " --window", "w");
    ASSERT_EQ(window.status, 0) << window.err;
    const Result headless = play(kAddOn, "h");
    ASSERT_EQ(headless.status, 0) << headless.err;
    for (const char* picture : {"-held.png", ".png"}) {
        const Picture w = readPng(png(std::string("w") + picture));
        ASSERT_EQ(w.width, 340) << picture;
        EXPECT_TRUE(w.rgb == readPng(png(std::string("h") + picture)).rgb) << picture;
    }
    // The same values at the end, each automated from the editor.
    const auto tail = [](const std::string& out) { return out.substr(out.find("parameters:")); };
    EXPECT_EQ(tail(window.out).substr(0, tail(window.out).find("host calls")),
              tail(headless.out).substr(0, tail(headless.out).find("host calls")));
}

TEST_F(HostWindow, TheKickButtonWritesARandomPatch)
{
    if (skipWithoutDisplay())
        GTEST_SKIP() << "no DISPLAY (make test runs this under a private Xvfb)";
    const fs::path steps = dir / "kick.txt";
    std::ofstream(steps) << "press 307 32\nrelease\n";
    const Result r = run("editor " + kHostsAddOn + " --window --program 0 --script '" +
                         steps.string() + "' --png '" + png("kick.png") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    // Program 0 has the Compressor at 0; the patch draws it from (0, 1).
    EXPECT_EQ(r.out.find("2: \"Compressor\" = 0  "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("2: \"Compressor\" = 0."), std::string::npos) << r.out;
    EXPECT_FALSE(readPng(png("kick.png")).rgb == goldenPicture("editor-p0").rgb);
}

// Without a script or a picture the editor is live until the window manager
// closes the window, on a server without XTEST; then the run ends as before.
TEST_F(HostWindow, LiveWithoutXTestEndsWhenTheWindowIsClosed)
{
    PrivateXServer server;
    std::string why;
    if (!server.start(why, {"-extension", "XTEST"}))
        GTEST_SKIP() << why;
    auto done = std::async(std::launch::async, [&] {
        return run("editor " + kHostsAddOn + " --window --program 2", "DISPLAY=" + server.name());
    });
    // The prompt comes once the editor is open and idling.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (slurp(dir / "stdout.txt").find("window: close it") == std::string::npos &&
           done.wait_for(std::chrono::milliseconds(20)) == std::future_status::timeout)
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "no prompt";
    xcb_connection_t* c = xcb_connect(server.name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(c), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(xcb_query_tree_children_length(tree), 1) << "our window, and no window manager";
    const xcb_window_t ours = xcb_query_tree_children(tree)[0];
    std::free(tree);
    std::free(askToClose(c, ours));
    const Result r = done.get();
    xcb_disconnect(c);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("editor: 340 x 262\nwindow: close it or press Ctrl+Q in it to end\n"
                         "parameters:\n"),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("host calls: "), std::string::npos) << r.out;
}

TEST_F(HostWindow, WindowsAnAddOnDoesNotTakeAreRefusedWithOneLine)
{
    const struct {
        std::string env, args, message;
    } cases[] = {
        {"-u DISPLAY", kHostsAddOn + " --window", "wobrix-host: no X display: DISPLAY is not set"},
        {"DISPLAY=:4242", kHostsAddOn + " --window", "cannot connect to X display :4242"},
        {"", kAddOn + " --window",
         std::string("takes headless windows only (entry main_plugin); use ") +
             fs::path(WOBRIX_HOSTS_ADDON).string() + " with --window"},
        {"", kHostsAddOn + " --png '" + png("x.png") + "'", "takes X11 windows"},
    };
    for (const auto& c : cases) {
        const Result r = run("editor " + c.args, c.env);
        EXPECT_EQ(r.status, 1) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    }
    EXPECT_FALSE(fs::exists(png("x.png")));
}

} // namespace
