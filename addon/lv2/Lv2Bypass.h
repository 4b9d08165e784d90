// Lv2Bypass: the gain between the untouched input (0) and the processed
// signal (1) behind the plug-in's enabled port. A switch ramps the gain
// linearly over a few milliseconds, so it never clicks; at either end the
// gain is exactly 0 or 1.
#pragma once

#include <cstdint>

class Lv2Bypass {
public:
    // Host thread: the ramp's length for this sample rate.
    void setSampleRate(double rate);
    // Audio thread: where the gain heads from now on.
    void setEnabled(bool enabled) { target = enabled ? steps : 0; }
    // Fully processed, no ramp under way.
    bool steadyOn() const { return position == steps && target == steps; }
    // Fully bypassed, no ramp under way.
    bool steadyOff() const { return position == 0 && target == 0; }
    // The gain for the next frame, one step closer to the target.
    float next()
    {
        if (position < target)
            ++position;
        else if (position > target)
            --position;
        return static_cast<float>(position) / static_cast<float>(steps);
    }
    // Jumps to the target: a fresh start has nothing to fade from.
    void settle() { position = target; }

    static constexpr double kRampSeconds = 0.005;

private:
    int32_t steps = 240;
    int32_t position = 240;
    int32_t target = 240;
};
