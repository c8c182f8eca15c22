// A value written by one thread and read by another with no ordering promise:
// a parameter changed from the host's thread and picked up by the audio thread at its
// next use. On x86 the loads and stores are plain 32-bit moves; the type records intent.
#pragma once

#include <atomic>

template <typename T> class RelaxedAtomic
{
public:
    constexpr RelaxedAtomic(T initial = T{}) noexcept : value(initial) {}
    RelaxedAtomic(const RelaxedAtomic& other) noexcept : value(other.load()) {}
    RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept
    {
        store(other.load());
        return *this;
    }

    T load() const noexcept { return value.load(std::memory_order_relaxed); }
    void store(T v) noexcept { value.store(v, std::memory_order_relaxed); }
    T exchange(T v) noexcept { return value.exchange(v, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }
    RelaxedAtomic& operator=(T v) noexcept
    {
        store(v);
        return *this;
    }

private:
    static_assert(std::atomic<T>::is_always_lock_free, "must never take a lock");
    std::atomic<T> value;
};
