// AEffGUIEditor: the host's idle under a try-lock, the paced idle of
// tracking loops, and the adoption of the host's headless window.
#include "gui/AEffGUIEditor.h"

#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "platform/api/OS.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessWindow.h"
#include "plugin/AudioEffect.h"

namespace {

// Pacing of tracking loops, in milliseconds: a pass sleeps while the mark is
// younger than kQuiet, credits the sleep to the clock, and moves the mark
// once it is kMoveAfter old.
constexpr int32_t kQuiet = 100;
constexpr uint32_t kSleep = 10;
constexpr int32_t kMoveAfter = 50;

int32_t age(uint32_t now, uint32_t mark)
{
    return static_cast<int32_t>(now - mark);
}

} // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner) : AEffEditor(owner)
{
    if (effect)
        effect->setEditor(this);
    lastTicks = static_cast<uint32_t>(getTicks());
}

AEffGUIEditor::~AEffGUIEditor()
{
    releaseHostWindow();
}

int32_t AEffGUIEditor::getRect(ERect** where)
{
    if (!where)
        return 0;
    *where = &rect;
    return 1;
}

int32_t AEffGUIEditor::open(void* ptr)
{
    postUpdate();
    systemWindow = adoptHostWindow(ptr);
    return 0;
}

BView* AEffGUIEditor::beginOpen(void* parent)
{
    if (!parent)
        return nullptr;
    if (frame)
        close();
    AEffGUIEditor::open(parent);
    return static_cast<BView*>(systemWindow);
}

void AEffGUIEditor::idle()
{
    // The lock is taken on the window itself and given back to it, so the
    // idle never leaves it locked, even when update() closed the frame.
    BLooper* locked = nullptr;
    if (frame) {
        PlugView* view = frame->getPlugView();
        BWindow* window = view ? view->Window() : nullptr;
        if (window) {
            if (window->LockWithTimeout(0) != B_OK)
                return;
            locked = window;
        }
    }
    if (updateFlag.exchange(0, std::memory_order_relaxed))
        update();
    if (frame)
        frame->idle();
    if (locked)
        locked->Unlock();
}

void AEffGUIEditor::setParameter(int32_t /*index*/, float /*value*/)
{
    postUpdate();
}

void AEffGUIEditor::draw(ERect* /*rect*/)
{
    if (frame)
        frame->draw(static_cast<CView*>(nullptr));
}

void AEffGUIEditor::doIdleStuff()
{
    inIdleStuff = true;
    auto now = static_cast<uint32_t>(getTicks());
    idle();
    // Ages are differences taken modulo 2^32 and read as signed, so the
    // pacing stays right across the wrap of the millisecond count, and a
    // mark a little ahead of the clock (the credited sleep) counts as young.
    if (age(now, lastTicks) < kQuiet) {
        wait(kSleep);
        now += kSleep;
        if (age(now, lastTicks) >= kMoveAfter)
            lastTicks = now;
    } else {
        lastTicks = now;
    }
    inIdleStuff = false;
}

unsigned long AEffGUIEditor::getTicks()
{
    return static_cast<uint32_t>(system_time() / 1000);
}

void AEffGUIEditor::wait(unsigned long ms)
{
    snooze(static_cast<bigtime_t>(ms) * 1000);
}

void* AEffGUIEditor::adoptHostWindow(void* ptr)
{
    releaseHostWindow();
    hostWindow = BWindow::AdoptHeadless(static_cast<WobrixHeadlessWindow*>(ptr));
    return hostWindow ? hostWindow->ChildAt(0) : nullptr;
}

void AEffGUIEditor::releaseHostWindow()
{
    if (!hostWindow)
        return;
    BWindow* window = hostWindow;
    hostWindow = nullptr;
    systemWindow = nullptr;
    delete window; // stops and joins its thread, deletes its views
}
