// Inside the platform layer only: waiting on and waking a 32-bit word that
// another copy of the platform (the host's) shares through the headless record.
#pragma once

#include <cstdint>

#include "platform/api/OS.h"

namespace futex {

// Every shared field of the record is read with acquire and written with
// release, on both sides.
template <class T> T load(const T* field)
{
    return __atomic_load_n(field, __ATOMIC_ACQUIRE);
}

template <class T> void store(T* field, T value)
{
    __atomic_store_n(field, value, __ATOMIC_RELEASE);
}

// Returns when *word is no longer `seen`, when woken, or after `timeout` µs.
void wait(uint32_t* word, uint32_t seen, bigtime_t timeout);
// Adds 1 to *word and wakes every waiter on it.
void bumpAndWake(uint32_t* word);

// Waits until done(), polling between wake-ups of *word; false on time-out.
template <class Done> bool waitUntil(uint32_t* word, bigtime_t timeout, Done done)
{
    const bigtime_t end = timeout == B_INFINITE_TIMEOUT ? timeout : system_time() + timeout;
    for (;;) {
        const uint32_t seen = __atomic_load_n(word, __ATOMIC_ACQUIRE);
        if (done())
            return true;
        const bigtime_t now = system_time();
        if (now >= end)
            return false;
        // A short slice, so that a wake sent before we slept costs at most that.
        wait(word, seen, end - now < 20000 ? end - now : 20000);
    }
}

} // namespace futex
