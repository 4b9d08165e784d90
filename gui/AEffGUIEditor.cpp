// AEffGUIEditor: opening and closing the editor over the host's window, the
// host's idle under a try-lock and the paced idle of tracking loops.
#include "gui/AEffGUIEditor.h"

#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "platform/api/OS.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
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

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner, WindowAdopter adopt)
    : AEffEditor(owner), adoptWindow(adopt)
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
    chooseScale();
    *where = &shown;
    return 1;
}

void AEffGUIEditor::chooseScale()
{
    if (scale == 0)
        scale = adoptWindow.scaleNow();
    shown = rect;
    shown.bottom = static_cast<int16_t>(rect.top + (rect.bottom - rect.top) * scale);
    shown.right = static_cast<int16_t>(rect.left + (rect.right - rect.left) * scale);
}

int32_t AEffGUIEditor::open(void* ptr)
{
    if (!ptr)
        return 0;
    if (frame)
        close();
    postUpdate();
    releaseHostWindow();
    chooseScale();
    hostWindow.reset(
        adoptWindow ? adoptWindow.adopt(ptr, rect.right - rect.left, rect.bottom - rect.top, scale)
                    : nullptr);
    BView* parent = hostWindow ? hostWindow->ChildAt(0) : nullptr;
    systemWindow = parent;
    if (!parent)
        return 0;
    CBitmap* background = willOpen();
    // The window thread may already draw; the tree is built with it locked.
    parent->LockLooper();
    CRect size{rect.left, rect.top, rect.right, rect.bottom};
    frame = new CFrame(size, parent, this);
    frame->setBackground(background);
    placeControls(frame);
    // A window on a screen may have shown itself before the frame was there;
    // it is drawn again, whole, once the lock is given back.
    parent->Invalidate();
    parent->UnlockLooper();
    return 1;
}

void AEffGUIEditor::close()
{
    willClose();
    // A host closes whenever it likes, even while its user holds a button
    // on a slider: with input ended, the tracking loop reads it released.
    if (hostWindow)
        hostWindow->EndInput();
    if (frame) {
        // Taking the lock waits for any tracking loop on the window thread
        // to end; the frame is never deleted under one.
        PlugView* view = frame->getPlugView();
        const bool locked = view && view->LockLooper();
        delete frame; // and every view added to it
        frame = nullptr;
        if (locked)
            view->UnlockLooper();
    }
    didClose();
    releaseHostWindow();
}

void AEffGUIEditor::idle()
{
    // The lock is taken on the window itself and given back to it, so the
    // idle never leaves it locked, even when update() closed the frame.
    BWindow* locked = nullptr;
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
    // A hidden window is not drawn; it is drawn whole when it shows again,
    // and the controls keep their dirty state until then.
    if (frame && !(locked && locked->IsHidden()))
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

void AEffGUIEditor::releaseHostWindow()
{
    if (!hostWindow)
        return;
    const std::unique_ptr<BWindow> window = std::move(hostWindow);
    systemWindow = nullptr;
    // Its deletion stops and joins its thread and deletes its views.
}
