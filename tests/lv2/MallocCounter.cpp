// Interposes the C allocation functions over glibc's own entry points.
#include "MallocCounter.h"

#include <atomic>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

bool mallocCounterActive()
{
    return false;
}
size_t mallocCalls()
{
    return 0;
}

#else

namespace {
std::atomic<size_t> calls{0};
void counted()
{
    calls.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

void* malloc(size_t n)
{
    counted();
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size)
{
    counted();
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n)
{
    counted();
    return __libc_realloc(p, n);
}
void* aligned_alloc(size_t alignment, size_t n)
{
    counted();
    return __libc_memalign(alignment, n);
}
void* memalign(size_t alignment, size_t n)
{
    counted();
    return __libc_memalign(alignment, n);
}
int posix_memalign(void** p, size_t alignment, size_t n)
{
    counted();
    *p = __libc_memalign(alignment, n);
    return *p ? 0 : 12; // ENOMEM
}
void free(void* p)
{
    if (p)
        counted();
    __libc_free(p);
}
}

bool mallocCounterActive()
{
    return true;
}
size_t mallocCalls()
{
    return calls.load(std::memory_order_relaxed);
}

#endif
