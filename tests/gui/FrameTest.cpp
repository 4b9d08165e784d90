// Views, the frame and the editor base: the dirty protocol, drawing order,
// press routing, the idle rules, and the frame bound to a headless window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/AEffGUIEditor.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/MemoryWindow.h"

namespace {

constexpr bigtime_t kPatience = 5000000;
using Log = std::vector<std::string>;

// Logs draws, presses and focus changes; fills itself when it draws.
class Probe : public CView {
public:
    Probe(CRect r, std::string n, Log* l, bool* deleted = nullptr)
        : CView(r), name(std::move(n)), log(l), gone(deleted)
    {
    }
    ~Probe() override
    {
        if (gone)
            *gone = true;
    }
    void draw(CDrawContext* context) override
    {
        log->push_back("draw " + name);
        if (context && context->getPlatformView()) {
            context->setFillColor(CColor{10, 200, 30, 0});
            CRect r = size;
            r.inset(-1, -1); // fillRect leaves the first row and column
            context->fillRect(r);
        }
    }
    void mouse(CDrawContext*, CPoint& where) override
    {
        log->push_back("mouse " + name + " " + std::to_string(where.h) + "," +
                       std::to_string(where.v));
    }
    void looseFocus() override { log->push_back("loose " + name); }

    std::string name;
    Log* log;
    bool* gone;
};

CRect rect(int l, int t, int r, int b)
{
    return CRect{l, t, r, b};
}

TEST(View, StartsDirtyAndUpdateDrawsOnceThenIsClean)
{
    Log log;
    Probe v(rect(1, 2, 11, 22), "v", &log);
    CRect area;
    EXPECT_EQ(v.getMouseableArea(area), rect(1, 2, 11, 22));
    EXPECT_TRUE(v.isDirty() && v.getMouseEnabled() && !v.getTransparency());
    v.update(nullptr);
    v.update(nullptr);
    EXPECT_EQ(log, Log{"draw v"});
    EXPECT_FALSE(v.isDirty());
    v.redraw(); // never added to a frame: nothing happens
    EXPECT_EQ(log.size(), 1u);
}

TEST(Frame, PressesReachTheTopmostEnabledViewWithInclusiveEdges)
{
    Log log;
    CRect size = rect(0, 0, 100, 100);
    CFrame frame(size, nullptr, nullptr); // no parent: nothing attached
    EXPECT_EQ(frame.getPlugView(), nullptr);
    auto* below = new Probe(rect(0, 0, 50, 50), "below", &log);
    auto* above = new Probe(rect(20, 20, 60, 60), "above", &log);
    frame.addView(below);
    frame.addView(above);
    EXPECT_EQ(below->getParent(), &frame);

    auto press = [&](int x, int y) {
        CPoint p{x, y};
        frame.mouse(nullptr, p);
    };
    press(30, 30);
    press(60, 60); // right and bottom edges count as inside
    press(10, 10);
    press(61, 61); // outside every view: nothing
    above->setMouseEnabled(false);
    press(30, 30); // the disabled view is skipped
    EXPECT_EQ(log, (Log{"mouse above 30,30", "mouse above 60,60", "mouse below 10,10",
                        "mouse below 30,30"}));

    // A modal view takes every press inside it; outside it nobody gets one.
    log.clear();
    Probe modal(rect(70, 70, 90, 90), "modal", &log);
    EXPECT_TRUE(frame.setModalView(&modal));
    EXPECT_FALSE(frame.setModalView(below));
    press(10, 10);
    press(80, 80);
    EXPECT_TRUE(frame.setModalView(nullptr));
    EXPECT_EQ(log, (Log{"mouse modal 80,80"}));

    // A press outside the view holding the keyboard takes its focus first.
    log.clear();
    frame.setEditView(above);
    press(5, 5);
    EXPECT_EQ(frame.getEditView(), nullptr);
    EXPECT_EQ(log, (Log{"loose above", "mouse below 5,5"}));
}

TEST(Frame, ViewArrayGrowsByTenAndRemoveNeitherDeletesNorFails)
{
    Log log;
    CRect size = rect(0, 0, 100, 100);
    CFrame frame(size, nullptr, nullptr);
    for (int i = 0; i < 10; i++)
        frame.addView(new Probe(rect(i, 0, i + 1, 1), std::to_string(i), &log));
    EXPECT_EQ(frame.getMaxViews(), 10);
    bool removedGone = false;
    auto* eleventh = new Probe(rect(0, 0, 1, 1), "10", &log, &removedGone);
    frame.addView(eleventh);
    EXPECT_EQ(frame.getMaxViews(), 20);
    EXPECT_EQ(frame.getViewCount(), 11);

    Probe stranger(rect(0, 0, 1, 1), "x", &log);
    EXPECT_TRUE(frame.removeView(&stranger));
    EXPECT_EQ(frame.getViewCount(), 11);
    CView* fourth = frame.getView(3);
    EXPECT_TRUE(frame.removeView(fourth));
    delete fourth; // a removed view is the caller's again
    EXPECT_EQ(frame.getViewCount(), 10);
    EXPECT_EQ(static_cast<Probe*>(frame.getView(3))->name, "4");
    EXPECT_TRUE(frame.removeView(eleventh));
    EXPECT_FALSE(removedGone);
    EXPECT_FALSE(frame.isChild(eleventh));
    delete eleventh;
    EXPECT_TRUE(removedGone);
    EXPECT_FALSE(frame.setSize(200, 200)); // not attached
}

TEST(Frame, FullDrawPaintsInOrderAndKeepsDirtyFlags)
{
    Log log;
    CRect size = rect(0, 0, 100, 100);
    CFrame frame(size, nullptr, nullptr);
    auto* a = new Probe(rect(0, 0, 10, 10), "a", &log);
    auto* b = new Probe(rect(0, 0, 10, 10), "b", &log);
    frame.addView(a);
    frame.addView(b);
    b->setDirty(false);
    Probe modal(rect(0, 0, 5, 5), "modal", &log);
    frame.setModalView(&modal);
    frame.draw(static_cast<CDrawContext*>(nullptr));
    EXPECT_EQ(log, (Log{"draw a", "draw b", "draw modal"}));
    EXPECT_TRUE(a->isDirty());
    EXPECT_FALSE(b->isDirty());
    EXPECT_FALSE(frame.isFirstDraw());
    frame.setModalView(nullptr);
}

// A frame attached to a memory window, as an editor's frame is to the host's.
class AttachedFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        mw.window()->Lock();
        frame = std::make_unique<CFrame>(size, mw.view(), nullptr);
        a = new Probe(rect(10, 10, 30, 30), "a", &log);
        b = new Probe(rect(40, 10, 60, 30), "b", &log);
        frame->addView(a);
        frame->addView(b);
        mw.window()->Unlock();
    }
    Log drawn()
    {
        mw.window()->Lock();
        Log copy = log;
        log.clear();
        mw.window()->Unlock();
        return copy;
    }

    MemoryWindow mw{100, 60};
    CRect size = rect(0, 0, 100, 60);
    std::unique_ptr<CFrame> frame;
    Probe* a = nullptr;
    Probe* b = nullptr;
    Log log;
};

TEST_F(AttachedFrame, IdleDrawsNothingBeforeTheFirstDrawThenOnlyDirtyViews)
{
    ASSERT_NE(frame->getPlugView(), nullptr);
    EXPECT_EQ(frame->getPlugView()->Bounds(), mw.view()->Bounds());
    frame->idle();
    EXPECT_TRUE(drawn().empty());

    ASSERT_TRUE(mw.host().redraw(kPatience));
    EXPECT_EQ(drawn(), (Log{"draw a", "draw b"}));
    EXPECT_EQ(mw.host().pixel(20, 20), 0xFF0AC81Eu); // a's fill reached the window

    frame->idle(); // both still dirty: a full draw keeps the flags
    EXPECT_EQ(drawn(), (Log{"draw a", "draw b"}));
    frame->idle();
    EXPECT_TRUE(drawn().empty());
    b->setDirty(true);
    frame->idle();
    EXPECT_EQ(drawn(), (Log{"draw b"}));

    // While another thread holds the window, idle gives up at once.
    mw.window()->Lock();
    b->setDirty(true);
    std::thread([&] { frame->idle(); }).join();
    EXPECT_TRUE(log.empty());
    mw.window()->Unlock();
}

TEST_F(AttachedFrame, PressesArriveThroughThePlatformViewAndStopWithTheFrame)
{
    uint32_t serial = mw.host().postPress(45, 30, B_PRIMARY_MOUSE_BUTTON);
    ASSERT_TRUE(mw.host().waitPress(serial, kPatience));
    EXPECT_EQ(drawn(), (Log{"mouse b 45,30"}));

    // A secondary click into a window in the background only brings it forward.
    mw.window()->Lock();
    mw.window()->Activate(false);
    mw.window()->Unlock();
    serial = mw.host().postPress(45, 30, B_SECONDARY_MOUSE_BUTTON);
    ASSERT_TRUE(mw.host().waitPress(serial, kPatience));
    EXPECT_TRUE(drawn().empty());
    EXPECT_TRUE(mw.window()->IsActive());

    // Once the frame is gone, its platform view forwards nothing.
    mw.window()->Lock();
    frame.reset();
    mw.window()->Unlock();
    serial = mw.host().postPress(20, 20, B_PRIMARY_MOUSE_BUTTON);
    ASSERT_TRUE(mw.host().waitPress(serial, kPatience));
    ASSERT_TRUE(mw.host().redraw(kPatience));
    EXPECT_TRUE(log.empty());
}

TEST_F(AttachedFrame, SizeFollowsTheWindowAndResizeAsksItToFollow)
{
    CRect r;
    ASSERT_TRUE(frame->getSize(&r));
    EXPECT_EQ(r, rect(0, 0, 100, 60));
    long x = -1, y = -1;
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(x, 0);
    mw.window()->Lock();
    EXPECT_FALSE(frame->setSize(100, 60));
    EXPECT_TRUE(frame->setSize(80, 50));
    mw.window()->Unlock();
    ASSERT_TRUE(frame->getSize(&r));
    EXPECT_EQ(r, rect(0, 0, 80, 50));
    EXPECT_EQ(mw.host().record()->content_width, 80);
    EXPECT_EQ(mw.host().record()->content_height, 50);
}

// The editor base alone, without an effect.
class BareEditor : public AEffGUIEditor {
public:
    BareEditor() : AEffGUIEditor(nullptr) {}
    void update() override { updates++; }
    void attach(CFrame* f) { frame = f; }
    void setMark(uint32_t ticks) { lastTicks = ticks; }
    // The pacing runs on this clock, which only the sleeps move.
    unsigned long getTicks() override { return clock; }
    void wait(unsigned long ms) override
    {
        clock += static_cast<uint32_t>(ms);
        slept += static_cast<uint32_t>(ms);
    }
    int updates = 0;
    uint32_t clock = 0;
    uint32_t slept = 0;
};

TEST(EditorBase, IdleOnlyTriesTheLockAndKeepsTheFlagWhenItFails)
{
    BareEditor editor;
    ERect* r = nullptr;
    EXPECT_EQ(editor.getRect(&r), 1);
    EXPECT_EQ(editor.getRect(nullptr), 0);
    editor.idle();
    EXPECT_EQ(editor.updates, 0);
    editor.postUpdate();
    editor.idle(); // no frame: no lock, but the flag is served
    EXPECT_EQ(editor.updates, 1);

    MemoryWindow mw(50, 50);
    CRect size = rect(0, 0, 50, 50);
    mw.window()->Lock();
    auto* frame = new CFrame(size, mw.view(), &editor);
    editor.attach(frame);
    editor.postUpdate();
    std::thread([&] { editor.idle(); }).join(); // the window is busy
    EXPECT_EQ(editor.updates, 1);
    mw.window()->Unlock();
    editor.idle();
    EXPECT_EQ(editor.updates, 2);
    EXPECT_FALSE(mw.window()->IsLocked()); // the idle gave its lock back
    mw.window()->Lock();
    editor.attach(nullptr);
    delete frame;
    mw.window()->Unlock();
}

TEST(EditorBase, TrackingPassesArePacedAndTheMarkMovesEveryFiftyMilliseconds)
{
    BareEditor editor;
    // Close below the wrap of the 32-bit count, which the passes below cross.
    editor.clock = 0xFFFFFFFFu - 1000;
    editor.setMark(editor.clock - 1000); // a long pause
    editor.doIdleStuff();
    EXPECT_EQ(editor.slept, 0u); // no sleep after quiet
    const uint32_t mark = editor.getLastTicks();
    EXPECT_EQ(mark, editor.clock);

    editor.doIdleStuff();
    EXPECT_EQ(editor.slept, 10u); // every later pass sleeps 10 ms
    EXPECT_EQ(editor.getLastTicks(), mark);
    EXPECT_FALSE(editor.isInIdleStuff());

    // A mark a little ahead of the clock (the credited sleep) counts as young.
    editor.setMark(editor.clock + 5);
    editor.doIdleStuff();
    EXPECT_EQ(editor.slept, 20u);

    // Without pauses the mark moves once the credited time is 50 ms past it:
    // on the fifth pass, whose sleep crosses the wrap.
    editor.clock = 0xFFFFFFFFu - 45;
    editor.setMark(editor.clock);
    const uint32_t first = editor.getLastTicks();
    for (int i = 0; i < 4; i++)
        editor.doIdleStuff();
    EXPECT_EQ(editor.getLastTicks(), first);
    editor.doIdleStuff();
    EXPECT_EQ(editor.getLastTicks(), first + 50u);
    EXPECT_EQ(editor.slept, 70u);
}

} // namespace
