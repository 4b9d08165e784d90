// The editor under every thread a host brings: audio blocks and parameter
// writes on one thread, the host's idle at 100 Hz with the editor opened and
// closed now and then on another, slider drags on the window thread. Nothing
// deadlocks, no idle blocks, and the last values written win everywhere.
#include <atomic>
#include <thread>
#include <vector>

#include "EditorHarness.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CSlider.h"

namespace {

using EditorThreads = EditorHarness;

TEST_F(EditorThreads, AudioIdleOpenCloseAndDragsTogether)
{
    AEffect* record = effect.getAeffect();
    std::atomic<bool> stopDrags{false}, stopHost{false}, stopAudio{false};
    std::atomic<bigtime_t> longestIdle{0};
    std::atomic<int> opens{0};

    ASSERT_EQ(open(), 1);
    std::thread audio([&] {
        std::vector<float> in0(64, 0.25f), in1(64, -0.25f), out0(64), out1(64);
        float* ins[] = {in0.data(), in1.data()};
        float* outs[] = {out0.data(), out1.data()};
        for (int n = 0; !stopAudio.load(); n++) {
            record->processReplacing(record, ins, outs, 64);
            record->setParameter(record, n % 3, static_cast<float>(n % 97) / 100.0f);
        }
    });
    std::thread hostThread([&] {
        for (int n = 0; !stopHost.load(); n++) {
            const bigtime_t start = system_time();
            idle();
            const bigtime_t took = system_time() - start;
            if (took > longestIdle.load())
                longestIdle.store(took);
            if (n % 25 == 24) {
                dispatch(effEditClose);
                if (open() == 1)
                    opens++;
                host.redraw(kPatience);
            }
            snooze(10000);
        }
    });
    std::thread drags([&] {
        for (int n = 0; !stopDrags.load(); n++) {
            const int x = (n % 3 == 0) ? 64 : (n % 3 == 1 ? 157 : 245);
            const uint32_t serial = host.postPress(x, 150, B_PRIMARY_MOUSE_BUTTON);
            for (int y = 150; y > 40 && serial; y -= 20) {
                host.setPointer(x, y, B_PRIMARY_MOUSE_BUTTON);
                host.waitPointerSeen(200000);
            }
            host.setPointer(x, 40, 0);
            if (serial)
                host.waitPress(serial, 2000000);
            snooze(3000);
        }
    });

    snooze(1500000);
    stopDrags = true;
    drags.join();
    stopHost = true;
    hostThread.join();
    stopAudio = true;
    audio.join();

    EXPECT_FALSE(takeAutomations().empty()) << "no drag reached a slider";

    // The editor is open (every close above was followed by an open); the
    // audio thread writes last.
    ASSERT_NE(editor()->getFrame(), nullptr);
    const float last[] = {0.31f, 0.62f, 0.93f};
    for (int i = 0; i < 3; i++)
        record->setParameter(record, i, last[i]);
    idle();
    for (int i = 0; i < 3; i++) {
        EXPECT_FLOAT_EQ(effect.getParameter(i), last[i]) << i;
        EXPECT_FLOAT_EQ(editor()->getSlider(i)->getValue(), last[i]) << i;
        EXPECT_FLOAT_EQ(editor()->getDisplay(i)->getValue(), last[i]) << i;
    }
    // The current program holds them too.
    const auto current = static_cast<int32_t>(dispatch(effGetProgram));
    dispatch(effSetProgram, 0, (current + 1) % 5);
    dispatch(effSetProgram, 0, current);
    for (int i = 0; i < 3; i++)
        EXPECT_FLOAT_EQ(effect.getParameter(i), last[i]) << i;

    EXPECT_GT(opens.load(), 0);
    // A try-lock idle that waited for a drag would take a drag's length.
    EXPECT_LT(longestIdle.load(), 500000);
}

} // namespace
