// BLooper: the lock that serialises a window's drawing. Recursive for the
// thread that holds it, with a try-lock that gives up after a time-out.
// Built on a plain mutex and a condition variable rather than
// std::recursive_timed_mutex, whose timed path the thread sanitizer cannot see.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/api/OS.h"
#include "platform/api/SupportDefs.h"

class BLooper {
public:
    BLooper() = default;
    virtual ~BLooper() = default;
    BLooper(const BLooper&) = delete;
    BLooper& operator=(const BLooper&) = delete;

    // Blocks until this thread holds the lock; always true.
    bool Lock();
    // B_OK once held, or B_TIMED_OUT after `timeout` microseconds; 0 or less
    // only tries, B_INFINITE_TIMEOUT waits like Lock. A holder gets it at once.
    status_t LockWithTimeout(bigtime_t timeout);
    // Releases one level; a thread that does not hold the lock changes nothing.
    void Unlock();
    // True when the calling thread holds the lock.
    bool IsLocked() const;
    // How many levels the calling thread holds (0 when it holds none).
    int32_t CountLocks() const;

protected:
    // Called on the holder's thread just before the last level is released.
    virtual void LastUnlock() {}

private:
    // Owner and depth under `mutex_`; the owner is also atomic so that
    // IsLocked can look without taking `mutex_`.
    std::mutex mutex_;
    std::condition_variable released_;
    std::atomic<std::thread::id> owner_{};
    int32_t depth_ = 0;
};
