// system_time and snooze over the monotonic clock.
#include "platform/api/OS.h"

#include <cerrno>
#include <ctime>

bigtime_t system_time()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<bigtime_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void snooze(bigtime_t microseconds)
{
    if (microseconds <= 0)
        return;
    timespec left{static_cast<time_t>(microseconds / 1000000),
                  static_cast<long>(microseconds % 1000000) * 1000};
    // A signal must not shorten the sleep.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
