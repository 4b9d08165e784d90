// AEffGUIEditor: the editor base of the toolkit. It owns the editor's life:
// opening (adopt the host's window, build the frame with the window locked,
// let the subclass place its controls) and closing (the frame deleted with
// the window locked, the window given back). It also holds the editor
// rectangle the host asks for, the host's idle (which only tries the window
// lock) and doIdleStuff, the paced idle that controls call while they track
// the mouse.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/api/WindowAdopter.h"
#include "plugin/AEffEditor.h"

class AudioEffect;
class CBitmap;
class CFrame;

class AEffGUIEditor : public AEffEditor {
public:
    // Registers itself as the effect's editor; the effect owns it from then on.
    // adoptWindow turns what the host hands to open into a window; without
    // one, open refuses every handle.
    explicit AEffGUIEditor(AudioEffect* effect, WindowAdopter adoptWindow = {});
    ~AEffGUIEditor() override;

    // Host thread. The rectangle the editor takes on the host's screen: the
    // editor rectangle times the adopter's scale (chosen at the first call
    // of this or open, then kept).
    int32_t getRect(ERect** rect) override;
    // Host thread. Closes an editor that is open, raises the update flag,
    // adopts the host's window and, with it locked, builds the frame over the
    // editor rectangle with willOpen's background, then lets placeControls
    // fill it. Answers 1, or 0 (nothing opened) when the handle is null or
    // refused.
    int32_t open(void* ptr) override;
    // Host thread, never the window's: willClose, the window's input ended,
    // then the frame and its controls deleted with the window locked (which
    // waits for a tracking loop to end), didClose, and the window given back. A closed editor
    // does nothing but didClose.
    void close() override;
    void idle() override;
    void setParameter(int32_t index, float value) override;
    virtual void draw(ERect* rect);

    // Called on every pass of a control's tracking loop, on the window thread.
    void doIdleStuff();
    // Milliseconds of the monotonic clock, as an unsigned 32-bit count, and
    // a sleep on it: the pacing's only clock, virtual so a test can run it.
    virtual unsigned long getTicks();
    virtual void wait(unsigned long ms);

    CFrame* getFrame() const { return frame; }
    uint32_t getLastTicks() const { return lastTicks; }
    bool isInIdleStuff() const { return inIdleStuff; }

protected:
    // The subclass's part of open and close. willOpen runs on the host
    // thread before the window is locked: it loads what the controls need
    // and answers the frame's background (or null). placeControls runs with
    // the window locked; every view it adds to the frame is the frame's to
    // delete. willClose runs before the window is locked for closing (stop
    // feeding the controls); didClose after the frame and its views are
    // gone (forget them, give pictures back).
    virtual CBitmap* willOpen() { return nullptr; }
    virtual void placeControls(CFrame* /*frame*/) {}
    virtual void willClose() {}
    virtual void didClose() {}

    ERect rect{};
    CFrame* frame = nullptr;
    uint32_t lastTicks = 0;
    bool inIdleStuff = false;

private:
    // Gives the adopted window back; after the frame is gone, never on the
    // window's own thread.
    void releaseHostWindow();
    // The scale, chosen once; the rectangle on the screen.
    void chooseScale();

    WindowAdopter adoptWindow;
    std::unique_ptr<BWindow> hostWindow; // adopted from the host's handle
    int32_t scale = 0;                   // 0: not chosen yet
    ERect shown{};
};
