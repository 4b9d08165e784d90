// Lv2Bypass: the ramp's length.
#include "Lv2Bypass.h"

#include <cmath>

void Lv2Bypass::setSampleRate(double rate)
{
    // At least one step; at most a second's worth at any rate a host offers.
    const double frames = std::ceil(rate * kRampSeconds);
    const int32_t n = frames < 1.0 ? 1 : frames > 48000.0 ? 48000 : static_cast<int32_t>(frames);
    const bool on = target == steps;
    steps = n;
    target = on ? n : 0;
    position = target;
}
