// BLooper's recursive timed lock: an owner and a depth guarded by a mutex.
#include "platform/api/Looper.h"

#include <chrono>

bool BLooper::Lock()
{
    return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BLooper::LockWithTimeout(bigtime_t timeout)
{
    const std::thread::id me = std::this_thread::get_id();
    std::unique_lock<std::mutex> hold(mutex_);
    if (owner_.load(std::memory_order_relaxed) == me) {
        ++depth_;
        return B_OK;
    }
    auto isFree = [&] { return owner_.load(std::memory_order_relaxed) == std::thread::id(); };
    if (timeout == B_INFINITE_TIMEOUT) {
        released_.wait(hold, isFree);
    } else if (!isFree() &&
               (timeout <= 0 ||
                !released_.wait_for(hold, std::chrono::microseconds(timeout), isFree))) {
        return B_TIMED_OUT;
    }
    owner_.store(me, std::memory_order_relaxed);
    depth_ = 1;
    return B_OK;
}

void BLooper::Unlock()
{
    if (!IsLocked())
        return;
    // Still the owner here, so the hook runs under the lock it is about.
    if (CountLocks() == 1)
        LastUnlock();
    std::lock_guard<std::mutex> hold(mutex_);
    if (--depth_ == 0) {
        owner_.store(std::thread::id(), std::memory_order_relaxed);
        released_.notify_one();
    }
}

bool BLooper::IsLocked() const
{
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

int32_t BLooper::CountLocks() const
{
    return IsLocked() ? depth_ : 0;
}
