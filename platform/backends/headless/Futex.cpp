// The futex system call, process-private.
#include "platform/backends/headless/Futex.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <ctime>

namespace futex {

void wait(uint32_t* word, uint32_t seen, bigtime_t timeout)
{
    if (timeout <= 0)
        return;
    timespec ts{static_cast<time_t>(timeout / 1000000),
                static_cast<long>(timeout % 1000000) * 1000};
    syscall(SYS_futex, word, FUTEX_WAIT_PRIVATE, seen, &ts, nullptr, 0);
}

void bumpAndWake(uint32_t* word)
{
    __atomic_add_fetch(word, 1u, __ATOMIC_RELEASE);
    syscall(SYS_futex, word, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

} // namespace futex
