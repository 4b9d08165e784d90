// The Linux-host add-on's editor on the X server of $DISPLAY, loaded with
// dlopen and shown the way a Linux host shows it: inside a parent window of
// the test's own, idled at 25 Hz, driven through XTest, and checked against
// the server's pixels. Every test skips without DISPLAY.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "HostedEffect.h"
#include "PrivateXServer.h"
#include "XDisplay.h"
#include "platform/api/EditorScale.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessHost.h"
#include "platform/backends/x11/X11Backend.h"
#include "tests/support/GoldenPicture.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 340;
constexpr int kHeight = 262;
constexpr int32_t kCompressor = 2;
// The compressor slider's column and run (editor pixels).
constexpr int kSliderX = 245;
constexpr int kSliderTop = 38;
constexpr int kSliderBottom = 184;
constexpr auto kHostIdle = 40ms; // a host's 25 Hz
constexpr auto kPatience = 10s;
// Opcode 15 is no place to wait; past this a close counts as hung.
constexpr auto kPromptly = 2s;
// Where the test puts its parent on the root window.
constexpr int16_t kParentX = 20;
constexpr int16_t kParentY = 20;

const AddOn& linuxHostAddOn()
{
    static const std::unique_ptr<AddOn> addOn = [] {
        auto loaded = std::make_unique<AddOn>();
        std::string error;
        EXPECT_TRUE(loaded->load(WOBRIX_HOSTS_ADDON, error)) << error;
        return loaded;
    }();
    return *addOn;
}

Picture golden(int program)
{
    return readPng(std::filesystem::path(WOBRIX_GOLDEN_DIR) /
                   ("editor-p" + std::to_string(program) + ".png"));
}

// The same editor drawn headless by our own hosts' add-on, program 0 with
// the compressor at `compressor`: what the X server must show for it.
Picture headless(float compressor)
{
    AddOn addOn;
    std::string error;
    EXPECT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    HostedEffect fx(addOn);
    if (fx.effect() == nullptr)
        return {};
    fx.setParameter(kCompressor, compressor);
    std::vector<uint8_t> pixels;
    HeadlessHost window(kWidth, kHeight);
    EXPECT_EQ(fx.dispatch(effEditOpen, 0, 0, window.record()), 1);
    EXPECT_TRUE(window.redraw(5000000));
    fx.idle();
    EXPECT_TRUE(window.copyPixels(&pixels, 5000000));
    window.endInput();
    fx.close();
    return pictureOfBgra(pixels, kWidth, kHeight);
}

bool same(const Picture& a, const Picture& b)
{
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

std::string differences(const Picture& got, const Picture& want)
{
    if (got.width != want.width || got.height != want.height)
        return "got " + std::to_string(got.width) + "x" + std::to_string(got.height);
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x)
            if (got.at(x, y) != want.at(x, y) && count++ == 0)
                first << " first at " << x << "," << y << ": " << std::hex << got.at(x, y)
                      << " for " << want.at(x, y);
    return std::to_string(count) + " pixels differ" + first.str();
}

// The handle of program 0's compressor slider: the lowest run of rows of its
// column where program 0's picture differs from program 3's (0.96, near the
// top); its middle row.
int compressorHandleY()
{
    const Picture p0 = golden(0);
    const Picture p3 = golden(3);
    if (p0.width != kWidth || p3.width != kWidth)
        return -1;
    int bottom = -1;
    for (int y = kSliderBottom; y >= kSliderTop && bottom < 0; --y)
        if (p0.at(kSliderX, y) != p3.at(kSliderX, y))
            bottom = y;
    int top = bottom;
    while (top > kSliderTop && p0.at(kSliderX, top - 1) != p3.at(kSliderX, top - 1))
        --top;
    return bottom < 0 ? -1 : (top + bottom) / 2;
}

int openFiles()
{
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator()));
}

// System V segments this process made (MIT-SHM pixels), attached anywhere.
int sharedSegments()
{
    std::ifstream table("/proc/sysvipc/shm");
    std::string line;
    std::getline(table, line); // the header
    int count = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        long key = 0, id = 0, perms = 0, size = 0, creator = 0;
        if (fields >> key >> id >> perms >> size >> creator && creator == getpid())
            ++count;
    }
    return count;
}

// Polls `done` every few milliseconds for kPatience.
bool eventually(const std::function<bool()>& done)
{
    const auto until = Clock::now() + kPatience;
    while (!done()) {
        if (Clock::now() > until)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// The host's side of one editor on one display: the parent, the effect,
// and what the server shows of our window.
struct Rig {
    XDisplay& x;
    HostedEffect fx{linuxHostAddOn()};
    xcb_window_t parent = 0;
    int scale = 1; // the editor's on the screen

    Rig(XDisplay& display, int16_t left = kParentX, int16_t top = kParentY, int shownAt = 1)
        : x(display), scale(shownAt)
    {
        parent = x.makeParent(left, top, static_cast<uint16_t>(kWidth * scale),
                              static_cast<uint16_t>(kHeight * scale));
    }
    xcb_window_t ours() const
    {
        const std::vector<xcb_window_t> kids = x.children(parent);
        return kids.empty() ? 0 : kids.front();
    }
    Picture shown() const
    {
        const int w = kWidth * scale, h = kHeight * scale;
        const std::vector<uint8_t> pixels =
            x.pixels(ours(), 0, 0, static_cast<uint16_t>(w), static_cast<uint16_t>(h));
        return pixels.empty() ? Picture{} : pictureOfBgra(pixels, w, h);
    }
    // Idles at a host's pace until the server shows `want`.
    bool idleUntilShown(const Picture& want, std::initializer_list<Rig*> others = {})
    {
        const auto until = Clock::now() + kPatience;
        for (;;) {
            fx.idle();
            for (Rig* other : others)
                other->fx.idle();
            if (same(shown(), want))
                return true;
            if (Clock::now() > until)
                return false;
            std::this_thread::sleep_for(kHostIdle);
        }
    }
    // Opcode 15 on a thread of its own: the time it took. Past kPromptly
    // the held button is let go, so a hung close ends (and fails) instead of
    // holding the run.
    Clock::duration closeTimed()
    {
        std::atomic<bool> done{false};
        const auto start = Clock::now();
        std::thread closer([&] {
            fx.close();
            done = true;
        });
        while (!done && Clock::now() - start < kPromptly)
            std::this_thread::sleep_for(1ms);
        const auto took = Clock::now() - start;
        if (!done)
            x.releaseButton();
        closer.join();
        return took;
    }
    // A press on the compressor's handle, moves up by `rise` pixels, and
    // the host told of a first value (the tracking loop runs).
    void grabCompressor(int rise)
    {
        const int y = compressorHandleY();
        ASSERT_GT(y, 0);
        // The middle of the editor pixel's block on the screen.
        const auto root = [this](int wx, int wy) {
            return std::pair<int16_t, int16_t>(
                static_cast<int16_t>(kParentX + wx * scale + scale / 2),
                static_cast<int16_t>(std::max(0, kParentY + wy * scale + scale / 2)));
        };
        x.movePointer(root(kSliderX, y).first, root(kSliderX, y).second);
        x.pressButton();
        for (int step = 1; step <= 8; ++step) {
            const auto [rx, ry] = root(kSliderX, y - rise * step / 8);
            x.movePointer(rx, ry);
            std::this_thread::sleep_for(15ms);
        }
        ASSERT_TRUE(eventually([&] {
            for (const HostCall& call : fx.recorder().calls())
                if (call.opcode == audioMasterAutomate && call.index == kCompressor)
                    return true;
            return false;
        }));
    }
};

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        ASSERT_TRUE(x.connect()) << "no X server with XTest at " << std::getenv("DISPLAY");
        // 1x unless a test asks.
        unsetenv("GDK_SCALE");
        unsetenv(editor_scale::kProgramVariable);
    }
    void TearDown() override
    {
        if (x.connection() != nullptr) {
            x.releaseButton();
            x.movePointer(1000, 700);
        }
    }

    XDisplay x;
};

// The upload paths: MIT-SHM where the server offers it, plain put-image when
// WOBRIX_X11_NO_SHM=1 (read at each open).
struct Upload {
    const char* name;
    const char* noShm;
    bool sharedMemory;
};

void PrintTo(const Upload& upload, std::ostream* out)
{
    *out << upload.name;
}

class X11EditorOpen : public X11Editor, public ::testing::WithParamInterface<Upload> {};

TEST_P(X11EditorOpen, IsTheParentsChildAndShowsTheGoldenPicture)
{
    Rig rig(x);
    {
        ScopedEnv upload("WOBRIX_X11_NO_SHM", GetParam().noShm);
        ASSERT_EQ(rig.fx.open(rig.parent), 1);
    }
    const std::vector<xcb_window_t> kids = x.children(rig.parent);
    ASSERT_EQ(kids.size(), 1u);
    int width = 0, height = 0;
    x.size(kids[0], &width, &height);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_TRUE(x.viewable(kids[0]));
    rig.idleUntilShown(golden(0));
    expectGolden(rig.shown(), "editor-p0");
    const int segments = x.resourcesOf(kids[0], "ShmSeg");
    if (segments >= 0) {
        EXPECT_EQ(segments > 0, GetParam().sharedMemory);
    }
    EXPECT_LT(rig.closeTimed(), kPromptly);
    EXPECT_TRUE(x.children(rig.parent).empty());
    EXPECT_EQ(x.errors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Uploads, X11EditorOpen,
                         ::testing::Values(Upload{"SharedMemory", nullptr, true},
                                           Upload{"PlainPutImage", "1", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(X11Editor, DragOfTheCompressorToTheTopAutomatesItAndShowsMinus40)
{
    Rig rig(x);
    ASSERT_EQ(rig.fx.open(rig.parent), 1);
    ASSERT_TRUE(rig.idleUntilShown(golden(0)));
    rig.grabCompressor(kSliderBottom); // past the top
    EXPECT_TRUE(eventually([&] { return rig.fx.automated(kCompressor, 1.0f); }));
    x.releaseButton();
    EXPECT_EQ(rig.fx.display(kCompressor), "-40.00");
    // The editor's own display ("-40") and the handle at the top.
    const Picture want = headless(1.0f);
    EXPECT_TRUE(rig.idleUntilShown(want)) << differences(rig.shown(), want);
}

// Every editor pixel enlarged to an n x n block.
Picture enlarged(const Picture& p, int n)
{
    Picture big{p.width * n, p.height * n, {}};
    big.rgb.resize(static_cast<size_t>(big.width * big.height));
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            big.rgb[static_cast<size_t>(y * big.width + x)] = p.at(x / n, y / n);
    return big;
}

// At scale n (a program's --scale, here through the environment) opcode 13
// answers the size n times over, every editor pixel shows as an n x n
// block, and a drag in screen pixels moves the slider as at 1x.
class X11EditorScaled : public X11Editor, public ::testing::WithParamInterface<int> {};

TEST_P(X11EditorScaled, ShowsEachPixelAsABlockAndTakesThePointerInEditorPixels)
{
    const int n = GetParam();
    // A screen of its own, large enough for 3x.
    PrivateXServer server;
    std::string why;
    ASSERT_TRUE(server.start(why, {"-screen", "0", "1280x1024x24"})) << why;
    ScopedEnv display("DISPLAY", server.name().c_str());
    XDisplay own;
    ASSERT_TRUE(own.connect());
    const std::string scale = std::to_string(n);
    ScopedEnv asked(editor_scale::kProgramVariable, scale.c_str());
    Rig rig(own, kParentX, kParentY, n);
    ERect* size = nullptr;
    ASSERT_EQ(rig.fx.dispatch(effEditGetRect, 0, 0, &size), 1);
    EXPECT_EQ(size->right - size->left, kWidth * n);
    EXPECT_EQ(size->bottom - size->top, kHeight * n);
    ASSERT_EQ(rig.fx.open(rig.parent), 1);
    int width = 0, height = 0;
    own.size(rig.ours(), &width, &height);
    ASSERT_EQ(width, kWidth * n);
    ASSERT_EQ(height, kHeight * n);
    const Picture want = enlarged(golden(0), n);
    EXPECT_TRUE(rig.idleUntilShown(want)) << differences(rig.shown(), want);

    rig.grabCompressor(kSliderBottom);
    EXPECT_TRUE(eventually([&] { return rig.fx.automated(kCompressor, 1.0f); }));
    own.releaseButton();
    const Picture moved = enlarged(headless(1.0f), n);
    EXPECT_TRUE(rig.idleUntilShown(moved)) << differences(rig.shown(), moved);
    rig.fx.close();
    EXPECT_EQ(own.errors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, X11EditorScaled, ::testing::Values(2, 3),
                         [](const auto& info) { return "x" + std::to_string(info.param); });

// Faults a host or its user brings while the editor is open and drawn; each
// is then closed with opcode 15, which must return promptly, and no X error
// may have reached the host's connection.
struct Fault {
    const char* name;
    void (*act)(Rig& rig);
};

void destroyParent(Rig& rig)
{
    rig.x.destroy(rig.parent);
    for (int i = 0; i < 5; ++i) {
        rig.fx.setParameter(kCompressor, i % 2 ? 1.0f : 0.0f);
        rig.fx.idle();
        std::this_thread::sleep_for(kHostIdle);
    }
    rig.parent = 0;
}

void holdButtonOnSlider(Rig& rig)
{
    rig.grabCompressor(30); // held through the close
}

void openTwice(Rig& rig)
{
    const int clients = rig.x.clientsOf(getpid());
    ASSERT_EQ(rig.fx.open(rig.parent), 1);
    EXPECT_EQ(rig.x.children(rig.parent).size(), 1u);
    // The first window's connection is gone (the second may reuse its ids).
    if (clients >= 0) {
        EXPECT_TRUE(eventually([&] { return rig.x.clientsOf(getpid()) == clients; }));
    }
    EXPECT_TRUE(rig.idleUntilShown(golden(0)));
}

void idleUnmapped(Rig& rig)
{
    rig.x.unmap(rig.parent);
    rig.fx.setParameter(kCompressor, 1.0f);
    for (int i = 0; i < 5; ++i) {
        rig.fx.idle();
        std::this_thread::sleep_for(kHostIdle);
    }
    EXPECT_FALSE(rig.x.viewable(rig.ours()));
    rig.x.map(rig.parent);
    const Picture want = headless(1.0f);
    EXPECT_TRUE(rig.idleUntilShown(want)) << differences(rig.shown(), want);
}

void PrintTo(const Fault& fault, std::ostream* out)
{
    *out << fault.name;
}

class X11EditorFault : public X11Editor, public ::testing::WithParamInterface<Fault> {};

TEST_P(X11EditorFault, ClosesPromptlyAndQuietly)
{
    Rig rig(x);
    ASSERT_EQ(rig.fx.open(rig.parent), 1);
    ASSERT_TRUE(rig.idleUntilShown(golden(0)));
    GetParam().act(rig);
    EXPECT_LT(rig.closeTimed(), kPromptly);
    if (rig.parent != 0) {
        EXPECT_TRUE(x.children(rig.parent).empty());
    }
    x.sync();
    EXPECT_EQ(x.errors(), 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, X11EditorFault,
                         ::testing::Values(Fault{"ParentDestroyedFirst", destroyParent},
                                           Fault{"ButtonHeldOnASlider", holdButtonOnSlider},
                                           Fault{"OpenedTwice", openTwice},
                                           Fault{"IdleWhileUnmapped", idleUnmapped}),
                         [](const auto& info) { return std::string(info.param.name); });

// A host hides its editor by unmapping a window above ours (Ardour its
// top-level), which leaves ours mapped but not viewable: the window counts as
// hidden then, so the editor's idles draw and upload nothing.
TEST_F(X11Editor, AWindowUnderAHiddenAncestorIsHidden)
{
    const xcb_window_t top = x.makeParent(40, 40, 400, 300);
    const xcb_window_t parent = x.makeParent(0, 20, 340, 262, top);
    BWindow* window =
        adoptX11Window(reinterpret_cast<void*>(static_cast<uintptr_t>(parent)), 340, 262, 1);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(eventually([&] { return !window->IsHidden(); }));
    x.unmap(top);
    EXPECT_TRUE(eventually([&] { return window->IsHidden(); }));
    x.map(top);
    EXPECT_TRUE(eventually([&] { return !window->IsHidden(); }));
    delete window;
    x.destroy(top);
    EXPECT_EQ(x.errors(), 0);
}

// A refused window says why in one line named after the program (here the
// test; an add-on's file inside a host), never after a product.
TEST_F(X11Editor, ARefusedWindowSaysWhyUnderTheProgramsName)
{
    const xcb_window_t parent = x.makeParent(0, 0);
    struct Refusal {
        xcb_window_t parent;
        int32_t width, height, scale;
        const char* line;
    };
    for (const Refusal& r :
         {Refusal{parent, 0, 262, 1, "x11_editor_tests: the editor's size 0 x 262 is not one"},
          Refusal{parent, 340, 20000, 1, "x11_editor_tests: the editor's size 340 x 20000 is"},
          Refusal{parent, 340, 5000, 4,
                  "x11_editor_tests: the editor's size 340 x 5000 at scale 4"},
          Refusal{0x1ffffff0, 340, 262, 1,
                  "x11_editor_tests: cannot open the editor: the host's window does not exist"}}) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(adoptX11Window(reinterpret_cast<void*>(static_cast<uintptr_t>(r.parent)), r.width,
                                 r.height, r.scale),
                  nullptr);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind(r.line, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    x.destroy(parent);
}

TEST_F(X11Editor, TwoEffectsShowTheirEditorsAtOnce)
{
    Rig one(x);
    Rig two(x, 400, 300);
    ASSERT_EQ(one.fx.open(one.parent), 1);
    ASSERT_EQ(two.fx.open(two.parent), 1);
    EXPECT_TRUE(one.idleUntilShown(golden(0), {&two}));
    EXPECT_TRUE(two.idleUntilShown(golden(0), {&one}));
    EXPECT_EQ(x.children(one.parent).size(), 1u);
    EXPECT_EQ(x.children(two.parent).size(), 1u);
    EXPECT_LT(one.closeTimed(), kPromptly);
    EXPECT_TRUE(two.idleUntilShown(golden(0)));
    EXPECT_LT(two.closeTimed(), kPromptly);
    EXPECT_EQ(x.errors(), 0);
}

// The X server dies (SIGKILL) under an open editor: while the host only
// idles (each idle draws a moved slider and would upload it), or while a
// button is held on a slider (the tracking loop asks the server for the
// pointer). The host's process lives on, and opcode 15 returns promptly.
struct ServerDeath {
    const char* name;
    bool duringDrag;
};

void PrintTo(const ServerDeath& death, std::ostream* out)
{
    *out << death.name;
}

class X11EditorServerDeath : public X11Editor, public ::testing::WithParamInterface<ServerDeath> {};

TEST_P(X11EditorServerDeath, LeavesTheHostRunning)
{
    PrivateXServer server;
    std::string why;
    ASSERT_TRUE(server.start(why)) << why;
    XDisplay there;
    ASSERT_TRUE(there.connect(server.name().c_str()));
    Rig rig(there);
    {
        ScopedEnv display("DISPLAY", server.name().c_str());
        ASSERT_EQ(rig.fx.open(rig.parent), 1);
    }
    ASSERT_TRUE(rig.idleUntilShown(golden(0)));
    if (GetParam().duringDrag)
        rig.grabCompressor(30);
    server.kill();
    for (int i = 0; i < 5; ++i) {
        rig.fx.setParameter(kCompressor, i % 2 ? 1.0f : 0.0f);
        rig.fx.idle();
        std::this_thread::sleep_for(kHostIdle);
    }
    EXPECT_LT(rig.closeTimed(), kPromptly);
    there.disconnect();
}

INSTANTIATE_TEST_SUITE_P(Ends, X11EditorServerDeath,
                         ::testing::Values(ServerDeath{"WhileIdling", false},
                                           ServerDeath{"DuringADrag", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(X11Editor, OpenCloseCyclesLeaveNothingBehind)
{
    constexpr int kCycles = 100;
    Rig rig(x);
    // One cycle first: what the first open sets up for good is not a leak.
    ASSERT_EQ(rig.fx.open(rig.parent), 1);
    rig.fx.idle();
    rig.fx.close();
    const int files = openFiles();
    const int segments = sharedSegments();
    const int clients = x.clientsOf(getpid());
    for (int i = 0; i < kCycles; ++i) {
        ASSERT_EQ(rig.fx.open(rig.parent), 1) << "cycle " << i;
        rig.fx.idle();
        rig.fx.close();
    }
    EXPECT_TRUE(x.children(rig.parent).empty());
    EXPECT_EQ(openFiles(), files);
    // The server lets a client go when it reads the closed socket.
    if (clients >= 0) {
        EXPECT_TRUE(eventually([&] { return x.clientsOf(getpid()) == clients; }))
            << x.clientsOf(getpid()) << " clients of this process, " << clients << " before";
    }
    EXPECT_TRUE(eventually([&] { return sharedSegments() == segments; }))
        << sharedSegments() << " shared segments, " << segments << " before";
    EXPECT_EQ(x.errors(), 0);
}

} // namespace
