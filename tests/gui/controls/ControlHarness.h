// A memory window with a frame and a recording editor, for driving controls
// with the mouse: presses reach the frame through its platform view on the
// window thread, and the tracking loops read the pointer the script sets.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include "gui/AEffGUIEditor.h"
#include "gui/CFrame.h"
#include "gui/controls/CControl.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/MemoryWindow.h"
#include "plugin/AudioEffect.h"

// Platform pointer bits, as a host posts them.
inline constexpr uint32_t kPrimary = 1;
inline constexpr uint32_t kSecondary = 2;
inline constexpr uint32_t kShift = 0x1;
inline constexpr uint32_t kCommand = 0x2;
inline constexpr uint32_t kControl = 0x4;

// Where the harness window sits on the (imagined) screen.
inline constexpr int32_t kScreenLeft = 100;
inline constexpr int32_t kScreenTop = 50;

// An effect with nothing to process, to own the editor.
class QuietEffect : public AudioEffect {
public:
    QuietEffect() : AudioEffect(nullptr, 1, 1) {}
    void process(float**, float**, int32_t) override {}
};

// Listens to every control and records the values it is told, in order.
class RecordingEditor : public AEffGUIEditor, public CControlListener {
public:
    explicit RecordingEditor(AudioEffect* effect) : AEffGUIEditor(effect) {}
    void setFrame(CFrame* f) { frame = f; }
    // The pacing's clock runs ahead of the monotonic one by what a test
    // skips, instead of the test sleeping.
    unsigned long getTicks() override
    {
        return static_cast<uint32_t>(AEffGUIEditor::getTicks()) + skipped.load();
    }
    void skip(uint32_t ms) { skipped += ms; }
    void valueChanged(CDrawContext*, CControl* control) override
    {
        std::lock_guard<std::mutex> guard(mutex);
        tags.push_back(control->getTag());
        log.push_back(control->getValue());
    }
    std::vector<float> values() const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return log;
    }
    std::vector<int32_t> senders() const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return tags;
    }
    void clear()
    {
        std::lock_guard<std::mutex> guard(mutex);
        log.clear();
        tags.clear();
    }

private:
    std::atomic<uint32_t> skipped{0};
    mutable std::mutex mutex; // written on the window thread, read by the test
    std::vector<float> log;
    std::vector<int32_t> tags;
};

class ControlHarness {
public:
    ControlHarness();
    // The frame, and its controls, go with the window lock held.
    ~ControlHarness();

    // The frame owns the control from here on.
    template <class T> T* add(T* control)
    {
        window.window()->Lock();
        frame->addView(control);
        window.window()->Unlock();
        return control;
    }
    // The platform's first full draw, then a host idle: every control is
    // drawn and clean before the script starts.
    void show();
    void idle() { editor->idle(); }

    // A press that tracks; on return a whole pass has read that state.
    uint32_t press(int32_t x, int32_t y, uint32_t buttons = kPrimary, uint32_t keys = 0);
    // Moves the pointer; on return a whole pass has used the new state.
    void moveTo(int32_t x, int32_t y, uint32_t buttons = kPrimary, uint32_t keys = 0);
    // Sets the pointer without waiting for anyone to read it.
    void set(int32_t x, int32_t y, uint32_t buttons, uint32_t keys = 0);
    // Lets go of the button, waits for the handler to return, then of the
    // keys: keys let go with the button could be read as one more pass
    // without them (buttons read before the change, keys after).
    bool release(uint32_t serial, uint32_t keys = 0);
    bool pressDone(uint32_t serial, bigtime_t timeout);
    // A press for handlers that return at once.
    void click(int32_t x, int32_t y, uint32_t buttons = kPrimary, uint32_t keys = 0);
    // The window shows, inside rect, exactly the picture read from `from`
    // (for controls that draw themselves from their mouse handlers).
    ::testing::AssertionResult windowShows(CRect rect, CBitmap* bitmap, CPoint from);
    // One key (its bytes) to the focus view; true once its KeyDown returned.
    bool key(const char* bytes, uint32_t keys = 0);
    // One key per UTF-8 character.
    bool type(const char* text);

    // Away from the screen's corner, so screen and window points differ.
    MemoryWindow window{340, 262, kScreenLeft, kScreenTop};
    QuietEffect* effect;
    RecordingEditor* editor; // owned by the effect
    CFrame* frame;

private:
    int32_t lastX = 0;
    int32_t lastY = 0;
};
