// LockCounter: this program's own pthread_mutex_lock and _trylock, which it
// exports, so every library and add-on in the process finds them before
// libc's; they count on a counting thread and call libc's.
#include "LockCounter.h"

#include <dlfcn.h>
#include <pthread.h>

namespace {
using LockFunction = int (*)(pthread_mutex_t*);
LockFunction realLock = nullptr;
LockFunction realTryLock = nullptr;
thread_local bool counting = false;
thread_local size_t locks = 0;

// Before main, on one thread: dlsym then takes no lock of ours.
__attribute__((constructor)) void findLibc()
{
    realLock = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    realTryLock = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, "pthread_mutex_trylock"));
}
} // namespace

extern "C" __attribute__((visibility("default"))) int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    if (counting)
        ++locks;
    if (!realLock)
        findLibc();
    return realLock(mutex);
}

extern "C" __attribute__((visibility("default"))) int pthread_mutex_trylock(pthread_mutex_t* mutex)
{
    if (counting)
        ++locks;
    if (!realTryLock)
        findLibc();
    return realTryLock(mutex);
}

void countLocks(bool on)
{
    counting = on;
}

size_t lockCount()
{
    return locks;
}
