// Windows: the recursive timed lock, the headless record's redraws and
// presses (a tracking loop that sees the pointer move and release), and the
// memory window's picture.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/Bitmap.h"
#include "platform/api/DataIO.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Looper.h"
#include "platform/api/TranslationUtils.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/headless/MemoryWindow.h"

namespace {

constexpr bigtime_t kPatience = 5000000;

// Logs its Draw calls and fills itself with its colour.
class Painter : public BView {
public:
    Painter(BRect frame, std::string name, rgb_color color, std::vector<std::string>* log)
        : BView(frame, name.c_str(), B_FOLLOW_NONE, B_WILL_DRAW), name_(std::move(name)),
          color_(color), log_(log)
    {
        SetViewColor(B_TRANSPARENT_COLOR);
    }
    void Draw(BRect) override
    {
        log_->push_back(name_);
        SetHighColor(color_);
        FillRect(Bounds());
    }

private:
    std::string name_;
    rgb_color color_;
    std::vector<std::string>* log_;
};

// MouseDown tracks the pointer until every button is up, as the toolkit's
// controls do, and records what it saw.
class Tracker : public BView {
public:
    explicit Tracker(BRect frame) : BView(frame, "tracker", B_FOLLOW_NONE, 0) {}

    void MouseDown(BPoint where) override
    {
        std::lock_guard<std::mutex> hold(mutex);
        pressedAt = where;
        int32_t b = 0;
        if (Window()->CurrentMessage() != nullptr)
            Window()->CurrentMessage()->FindInt32("buttons", &b);
        messageButtons = b;
        lockedDuringPress = Window()->IsLocked();
        const bigtime_t end = system_time() + kPatience;
        uint32_t buttons = 0;
        do {
            BPoint p;
            GetMouse(&p, &buttons);
            if (seen.empty() || !(seen.back() == p))
                seen.push_back(p);
            if (modifiers() & B_SHIFT_KEY)
                sawShift = true;
            snooze(500);
        } while (buttons != 0 && system_time() < end);
        released = buttons == 0;
        ++presses;
    }

    std::mutex mutex;
    BPoint pressedAt{-1, -1};
    int32_t messageButtons = -1;
    bool lockedDuringPress = false;
    std::vector<BPoint> seen;
    bool sawShift = false;
    bool released = false;
    int presses = 0;
};

} // namespace

TEST(PlatformLooper, RecursiveLockAndTryLockFromAnotherThread)
{
    BLooper looper;
    EXPECT_FALSE(looper.IsLocked());
    EXPECT_TRUE(looper.Lock());
    EXPECT_EQ(looper.LockWithTimeout(0), B_OK);
    EXPECT_EQ(looper.CountLocks(), 2);

    status_t tried = B_OK, waited = B_OK;
    bool otherSeesLocked = true;
    bigtime_t waitedFor = 0;
    std::thread([&] {
        tried = looper.LockWithTimeout(0);
        const bigtime_t start = system_time();
        waited = looper.LockWithTimeout(20000);
        waitedFor = system_time() - start;
        otherSeesLocked = looper.IsLocked();
        looper.Unlock(); // not the holder: changes nothing
    }).join();
    EXPECT_EQ(tried, B_TIMED_OUT);
    EXPECT_EQ(waited, B_TIMED_OUT);
    EXPECT_GE(waitedFor, 19000);
    EXPECT_FALSE(otherSeesLocked);
    EXPECT_EQ(looper.CountLocks(), 2);

    looper.Unlock();
    EXPECT_TRUE(looper.IsLocked());
    looper.Unlock();
    EXPECT_FALSE(looper.IsLocked());
    std::thread([&] {
        tried = looper.LockWithTimeout(0);
        looper.Unlock();
    }).join();
    EXPECT_EQ(tried, B_OK);
}

TEST(PlatformHeadless, AdoptRefusesBadRecords)
{
    EXPECT_EQ(adoptHeadlessWindow(nullptr), nullptr);
    HeadlessHost host(10, 10);
    WobrixHeadlessWindow copy = *host.record();
    copy.version = WOBRIX_HEADLESS_WINDOW_VERSION + 1;
    EXPECT_EQ(adoptHeadlessWindow(&copy), nullptr);
    copy = *host.record();
    copy.size = 16;
    EXPECT_EQ(adoptHeadlessWindow(&copy), nullptr);
    copy = *host.record();
    copy.stride = 36;
    EXPECT_EQ(adoptHeadlessWindow(&copy), nullptr);
    copy = *host.record();
    copy.pixels = nullptr;
    EXPECT_EQ(adoptHeadlessWindow(&copy), nullptr);

    BWindow* window = adoptHeadlessWindow(host.record());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(host.attached());
    EXPECT_EQ(adoptHeadlessWindow(host.record()), nullptr); // one window per record
    EXPECT_EQ(window->Bounds(), BRect(0, 0, 9, 9));
    ASSERT_EQ(window->CountChildren(), 1);
    EXPECT_EQ(window->ChildAt(0)->Frame(), BRect(0, 0, 9, 9));
    EXPECT_EQ(window->ChildAt(0)->Window(), window);
    window->Lock();
    window->Quit();
    EXPECT_FALSE(host.attached());
}

TEST(PlatformHeadless, RedrawDrawsEveryViewParentsFirst)
{
    MemoryWindow mw(40, 30);
    std::vector<std::string> log;
    auto* parent = new Painter(BRect(5, 5, 24, 24), "parent", {255, 0, 0, 255}, &log);
    parent->AddChild(new Painter(BRect(10, 10, 14, 14), "child", {0, 0, 255, 255}, &log));
    mw.window()->Lock();
    mw.view()->AddChild(parent);
    mw.view()->AddChild(new Painter(BRect(30, 0, 39, 9), "sibling", {0, 255, 0, 255}, &log));
    mw.window()->Unlock();

    ASSERT_TRUE(mw.host().redraw(kPatience));
    mw.window()->Lock();
    EXPECT_EQ(log, (std::vector<std::string>{"parent", "child", "sibling"}));
    EXPECT_EQ(mw.pixelAt(0, 0), (rgb_color{255, 255, 255, 255})); // the host view's colour
    EXPECT_EQ(mw.pixelAt(5, 5), (rgb_color{255, 0, 0, 255}));
    EXPECT_EQ(mw.pixelAt(17, 17), (rgb_color{0, 0, 255, 255}));
    EXPECT_EQ(mw.pixelAt(19, 19), (rgb_color{0, 0, 255, 255}));
    EXPECT_EQ(mw.pixelAt(20, 20), (rgb_color{255, 0, 0, 255}));
    EXPECT_EQ(mw.pixelAt(35, 5), (rgb_color{0, 255, 0, 255}));
    mw.window()->Unlock();

    // Invalidate from any thread draws again, on the window's thread.
    parent->Invalidate();
    const bigtime_t end = system_time() + kPatience;
    for (;;) {
        mw.window()->Lock();
        const size_t drawn = log.size();
        mw.window()->Unlock();
        if (drawn >= 6 || system_time() > end)
            break;
        mw.host().waitAnything(10000);
    }
    mw.window()->Lock();
    EXPECT_EQ(log.size(), 6u);
    mw.window()->Unlock();
}

TEST(PlatformHeadless, PressReachesTheInnermostViewWhileTrackingSeesThePointer)
{
    MemoryWindow mw(100, 80);
    auto* outer = new BView(BRect(10, 10, 89, 69), "outer", B_FOLLOW_NONE, 0);
    auto* tracker = new Tracker(BRect(20, 15, 49, 44));
    auto* other = new Tracker(BRect(60, 0, 79, 19));
    mw.window()->Lock();
    outer->AddChild(tracker);
    outer->AddChild(other);
    mw.view()->AddChild(outer);
    mw.window()->Unlock();

    HeadlessHost& host = mw.host();
    // Each state is posted twice: once the second is seen, a whole pass of the
    // loop (GetMouse, then modifiers) has read the first.
    auto holdState = [&](int32_t x, int32_t y, uint32_t buttons, uint32_t keys) {
        for (int i = 0; i < 2; ++i) {
            host.setPointer(x, y, buttons, keys);
            ASSERT_TRUE(host.waitPointerSeen(kPatience));
        }
    };
    const uint32_t press = host.postPress(35, 30, B_PRIMARY_MOUSE_BUTTON);
    ASSERT_NE(press, 0u);
    EXPECT_EQ(host.postPress(1, 1, B_PRIMARY_MOUSE_BUTTON), 0u); // one press at a time
    ASSERT_TRUE(host.waitPointerSeen(kPatience));
    holdState(40, 33, B_PRIMARY_MOUSE_BUTTON, B_SHIFT_KEY);
    holdState(95, 75, B_PRIMARY_MOUSE_BUTTON, 0); // outside the view: still tracked
    host.setPointer(95, 75, 0);
    ASSERT_TRUE(host.waitPress(press, kPatience));

    std::lock_guard<std::mutex> hold(tracker->mutex);
    EXPECT_EQ(tracker->presses, 1);
    EXPECT_EQ(other->presses, 0);
    // Window (35, 30) is (25, 20) in outer and (5, 5) in the tracker.
    EXPECT_EQ(tracker->pressedAt, BPoint(5, 5));
    EXPECT_EQ(tracker->messageButtons, 1);
    EXPECT_TRUE(tracker->lockedDuringPress);
    EXPECT_TRUE(tracker->released);
    EXPECT_TRUE(tracker->sawShift);
    const std::vector<BPoint> want{{5, 5}, {10, 8}, {65, 50}};
    EXPECT_EQ(tracker->seen, want);
    EXPECT_EQ(modifiers(), 0u);
}

TEST(PlatformHeadless, EndOfInputReleasesATrackingLoop)
{
    MemoryWindow mw(20, 20);
    auto* tracker = new Tracker(BRect(0, 0, 19, 19));
    mw.window()->Lock();
    mw.view()->AddChild(tracker);
    mw.window()->Unlock();
    const uint32_t press = mw.host().postPress(3, 3, B_SECONDARY_MOUSE_BUTTON, B_SHIFT_KEY);
    ASSERT_TRUE(mw.host().waitPointerSeen(kPatience));
    EXPECT_EQ(modifiers(), B_SHIFT_KEY);
    mw.host().endInput();
    ASSERT_TRUE(mw.host().waitPress(press, kPatience));
    EXPECT_EQ(modifiers(), 0u);
    std::lock_guard<std::mutex> hold(tracker->mutex);
    EXPECT_TRUE(tracker->released);
    EXPECT_EQ(tracker->messageButtons, 2);
}

TEST(PlatformHeadless, ResizeFollowsAndIsReported)
{
    MemoryWindow mw(50, 40);
    mw.window()->Lock();
    mw.window()->ResizeBy(-10, -5);
    EXPECT_EQ(mw.window()->Bounds(), BRect(0, 0, 39, 34));
    EXPECT_EQ(mw.view()->Frame(), BRect(0, 0, 39, 34));
    mw.window()->Unlock();
    EXPECT_EQ(mw.host().record()->content_width, 40);
    EXPECT_EQ(mw.host().record()->content_height, 35);

    BPoint p(1, 2);
    mw.view()->ConvertToScreen(&p);
    EXPECT_EQ(p, BPoint(1, 2));
}

TEST(PlatformMemoryWindow, DrawnPixelsReadBackAndSurviveAPng)
{
    MemoryWindow mw(16, 12);
    BView* v = mw.view();
    ASSERT_TRUE(v->LockLooper());
    v->SetHighColor({12, 34, 56, 255});
    v->FillRect(BRect(2, 3, 9, 8));
    EXPECT_EQ(mw.host().record()->picture_serial % 2, 1u); // being written
    v->UnlockLooper();
    EXPECT_EQ(mw.host().record()->picture_serial % 2, 0u);
    EXPECT_EQ(mw.pixelAt(2, 3), (rgb_color{12, 34, 56, 255}));
    EXPECT_EQ(mw.pixelAt(10, 3), (rgb_color{255, 255, 255, 255}));

    const std::string path =
        testing::TempDir() + "platform_memory_window_" + std::to_string(getpid()) + ".png";
    ASSERT_EQ(mw.savePng(path.c_str()), B_OK);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> png(1 << 16);
    png.resize(std::fread(png.data(), 1, png.size(), f));
    std::fclose(f);
    std::remove(path.c_str());
    BMemoryIO stream(png.data(), png.size());
    std::unique_ptr<BBitmap> back(BTranslationUtils::GetBitmap(&stream));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->Bounds(), BRect(0, 0, 15, 11));
    const auto* p = static_cast<const uint8_t*>(back->Bits());
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint8_t* q = p + y * back->BytesPerRow() + x * 4;
            const rgb_color c = mw.pixelAt(x, y);
            ASSERT_EQ((rgb_color{q[2], q[1], q[0], q[3]}), c) << x << "," << y;
        }
    }
}
