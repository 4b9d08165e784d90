// AEffGUIEditor: the editor base of the toolkit. It holds the editor
// rectangle the host asks for, the frame while the window is open, the
// host's idle (which only tries the window lock) and doIdleStuff, the paced
// idle that controls call while they track the mouse.
#pragma once

#include <cstdint>

#include "plugin/AEffEditor.h"

class AudioEffect;
class BView;
class BWindow;
class CFrame;

class AEffGUIEditor : public AEffEditor {
public:
    // Registers itself as the effect's editor; the effect owns it from then on.
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    int32_t getRect(ERect** rect) override;
    // Raises the update flag and stores the parent view. A subclass calls it
    // first and then builds its frame on getParentView().
    int32_t open(void* ptr) override;
    void idle() override;
    void setParameter(int32_t index, float value) override;
    virtual void draw(ERect* rect);

    // Called on every pass of a control's tracking loop, on the window thread.
    void doIdleStuff();
    // Milliseconds of the monotonic clock, as an unsigned 32-bit count.
    unsigned long getTicks();
    void wait(unsigned long ms);

    CFrame* getFrame() const { return frame; }
    uint32_t getLastTicks() const { return lastTicks; }
    bool isInIdleStuff() const { return inIdleStuff; }

protected:
    // The start of a subclass's open: closes an editor that is open, then
    // runs open above. Answers the view to build the frame on, or null when
    // the parent is null or not a window of ours.
    BView* beginOpen(void* parent);
    // Takes what the host handed to open: one of our own headless window
    // records (HeadlessWindow.h). Adopts it as a window and answers the view
    // the frame goes into, or null when the record is refused.
    void* adoptHostWindow(void* ptr);
    // Gives the adopted window back; call after the frame is gone, never on
    // the window's own thread.
    void releaseHostWindow();

    ERect rect{};
    CFrame* frame = nullptr;
    uint32_t lastTicks = 0;
    bool inIdleStuff = false;

private:
    BWindow* hostWindow = nullptr; // the window adopted from the host's record
};
