// Lets a reader on one thread tell whether it saw all of a change made on other threads,
// or none of it, without making any writer wait: a change counts itself before its first
// store and after its last, and a reader that sees the count move while it copies throws
// the copy away. Several threads may write at once; the values themselves must be atomics.
// On x86 the fences cost nothing: they only keep the compiler from moving loads and
// stores across them.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

class ChangeCount
{
public:
    // Around every change, on the writing thread.
    void begin() noexcept
    {
        started.fetch_add(1, std::memory_order_relaxed);
        // A reader that sees any store of this change also sees it counted.
        std::atomic_thread_fence(std::memory_order_release);
    }
    void end() noexcept { finished.fetch_add(1, std::memory_order_release); }

    // Before a read: a token, or nothing while a change is under way.
    [[nodiscard]] std::optional<std::uint32_t> settled() const noexcept
    {
        const std::uint32_t begun = started.load(std::memory_order_acquire);
        if (finished.load(std::memory_order_acquire) != begun)
            return std::nullopt;
        return begun;
    }
    // After the read: true when no change began since settled() gave the token, so the
    // values read belong together.
    [[nodiscard]] bool unchangedSince(std::uint32_t token) const noexcept
    {
        std::atomic_thread_fence(std::memory_order_acquire);
        return started.load(std::memory_order_relaxed) == token;
    }

private:
    std::atomic<std::uint32_t> started{0};
    std::atomic<std::uint32_t> finished{0};
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
};
