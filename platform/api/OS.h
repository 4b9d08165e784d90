// The kernel's clock and sleep: monotonic microseconds.
#pragma once

#include <cstdint>

#include "platform/api/SupportDefs.h"

using bigtime_t = int64_t;

inline constexpr bigtime_t B_INFINITE_TIMEOUT = INT64_MAX;

// Microseconds of a monotonic clock (CLOCK_MONOTONIC); never goes back.
bigtime_t system_time();
// Sleeps at least `microseconds`; 0 or less returns at once.
void snooze(bigtime_t microseconds);
