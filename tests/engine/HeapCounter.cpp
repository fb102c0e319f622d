#include "HeapCounter.h"

#include <atomic>
#include <cerrno>

// glibc's own entry points, which the replacements below pass every call on to.
extern "C"
{
    void* __libc_malloc(std::size_t size);
    void* __libc_calloc(std::size_t count, std::size_t size);
    void* __libc_realloc(void* block, std::size_t size);
    void __libc_free(void* block);
    void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace
{
// Looked at before the thread-local flag, so that nothing touches thread-local
// storage until a test has asked for counting.
std::atomic<bool> anyThreadCounting{false};
thread_local bool thisThreadCounting = false;
std::atomic<std::size_t> allocationCount{0};
std::atomic<std::size_t> releaseCount{0};

inline bool counting()
{
    return anyThreadCounting.load(std::memory_order_relaxed) && thisThreadCounting;
}

inline void noteAllocation()
{
    if (counting())
        allocationCount.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

namespace heapCounter
{
void countThisThread(bool on)
{
    if (on)
        anyThreadCounting = true;
    thisThreadCounting = on;
}

std::size_t allocations()
{
    return allocationCount.load();
}

std::size_t releases()
{
    return releaseCount.load();
}
} // namespace heapCounter

extern "C"
{
    void* malloc(std::size_t size) noexcept
    {
        noteAllocation();
        return __libc_malloc(size);
    }

    void* calloc(std::size_t count, std::size_t size) noexcept
    {
        noteAllocation();
        return __libc_calloc(count, size);
    }

    void* realloc(void* block, std::size_t size) noexcept
    {
        noteAllocation();
        return __libc_realloc(block, size);
    }

    void free(void* block) noexcept
    {
        if (block != nullptr && counting())
            releaseCount.fetch_add(1, std::memory_order_relaxed);
        __libc_free(block);
    }

    void* memalign(std::size_t alignment, std::size_t size) noexcept
    {
        noteAllocation();
        return __libc_memalign(alignment, size);
    }

    void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
    {
        noteAllocation();
        return __libc_memalign(alignment, size);
    }

    int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept
    {
        if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
            return EINVAL;
        noteAllocation();
        void* block = __libc_memalign(alignment, size);
        if (block == nullptr)
            return ENOMEM;
        *result = block;
        return 0;
    }
}
