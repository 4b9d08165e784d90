// An effect with its editor open in a headless window of this process: the
// host's side of the window, the effect's record, and helpers to press,
// drag and idle the way a host and its user do.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "addon/BassEditorMaker.h"
#include "editor/ZeltoBassEditor.h"
#include "effect/ZeltoBass.h"
#include "gui/CFrame.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/OS.h"
#include "platform/backends/headless/HeadlessHost.h"
#include "tests/support/HostCalls.h"

class EditorHarness : public ::testing::Test {
protected:
    static constexpr bigtime_t kPatience = 5000000;

    // The editor comes from `maker` (main_plugin's by default).
    explicit EditorHarness(const EditorMaker* maker = &headlessBassEditor())
        : effect{HostRecorder::callback, maker}
    {
        recorder.attach(effect.getAeffect());
    }
    void TearDown() override
    {
        host.endInput();
        dispatch(effEditClose);
    }

    VstIntPtr dispatch(int32_t op, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr)
    {
        AEffect* r = effect.getAeffect();
        return r->dispatcher(r, op, index, value, ptr, 0);
    }
    ZeltoBassEditor* editor() { return static_cast<ZeltoBassEditor*>(effect.getEditor()); }
    VstIntPtr open() { return dispatch(effEditOpen, 0, 0, host.record()); }
    void idle() { dispatch(effEditIdle); }
    // The platform's first draw, then one idle, as a host shows a window.
    void show()
    {
        ASSERT_TRUE(host.redraw(kPatience));
        idle();
    }
    // A press, moves a few milliseconds apart, and the release.
    void drag(int x1, int y1, int x2, int y2, int steps = 10, uint32_t modifiers = 0)
    {
        const uint32_t serial = host.postPress(x1, y1, B_PRIMARY_MOUSE_BUTTON, modifiers);
        ASSERT_NE(serial, 0u);
        ASSERT_TRUE(host.waitPointerSeen(kPatience));
        for (int i = 1; i <= steps; i++) {
            host.setPointer(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps,
                            B_PRIMARY_MOUSE_BUTTON, modifiers);
            ASSERT_TRUE(host.waitPointerSeen(kPatience));
        }
        host.setPointer(x2, y2, 0, 0);
        ASSERT_TRUE(host.waitPress(serial, kPatience));
    }
    void click(int x, int y) { drag(x, y, x, y, 1); }
    std::vector<Automation> takeAutomations() { return ::takeAutomations(recorder); }

    HostRecorder recorder; // the host's side of the effect, from its first call on
    ZeltoBass effect;
    HeadlessHost host{340, 262};
};
