// Relaxed<T>: a value that several threads read and write without a lock
// (the audio thread, the host's threads, the editor's window thread). Each
// access is one relaxed atomic load or store, so the lock-free design has no
// data race; it orders nothing else, and nothing here needs it to.
#pragma once

#include <atomic>

template <class T> class Relaxed {
public:
    constexpr Relaxed(T initial = T{}) noexcept : value(initial) {}
    Relaxed(const Relaxed& other) noexcept : value(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept
    {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T v) noexcept
    {
        store(v);
        return *this;
    }
    operator T() const noexcept { return load(); }

    T load() const noexcept { return value.load(std::memory_order_relaxed); }
    void store(T v) noexcept { value.store(v, std::memory_order_relaxed); }

private:
    std::atomic<T> value;
};
