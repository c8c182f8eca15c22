// Catches what a real-time entry point must never do. The program that links this file
// defines the C library's allocation, lock, wait, sleep and file functions and the global
// operator new and delete itself, forwarding each to the real one; a call made on a thread
// while that thread is inside a RealtimeScope (and not inside a NonRealtimeScope) is
// counted. Linux, without sanitizers: they define the same functions.
// TARVA_REALTIME_ABORT=1 aborts at the first counted call, for a debugger's stack.
#pragma once

#include <array>

namespace realtime
{
enum class Call : int
{
    malloc,
    calloc,
    realloc,
    free,
    alignedAlloc, // aligned_alloc, posix_memalign, memalign, valloc, pvalloc
    operatorNew,
    operatorDelete,
    mutexLock, // lock, trylock, timedlock, clocklock
    rwlock,    // every read and write lock
    spinLock,
    condWait, // wait, timedwait, clockwait
    semWait,  // wait, trywait, timedwait, clockwait
    sleep,    // nanosleep, clock_nanosleep, usleep, sleep
    yield,
    systemCall, // syscall(), as futex waits are made
    threads,    // pthread_create, pthread_join
    fileIo,     // open, openat, fopen, read, write
    count,
};

const char* callName(Call call) noexcept;

// This thread's counted calls since the last take.
struct Calls
{
    std::array<unsigned, static_cast<int>(Call::count)> counts{};
    unsigned total = 0;
    Call first = Call::count;
    const char* firstEntry = nullptr; // the scope's name at the first counted call
};
Calls takeCalls() noexcept;

// The calling thread is inside a real-time entry point of that name.
class RealtimeScope
{
public:
    explicit RealtimeScope(const char* entry) noexcept;
    ~RealtimeScope();
    RealtimeScope(const RealtimeScope&) = delete;
    RealtimeScope& operator=(const RealtimeScope&) = delete;

private:
    bool wasInside;
    const char* previousEntry;
};

// Out of the entry point for a while: the host's callback is the host's business.
class NonRealtimeScope
{
public:
    NonRealtimeScope() noexcept;
    ~NonRealtimeScope();
    NonRealtimeScope(const NonRealtimeScope&) = delete;
    NonRealtimeScope& operator=(const NonRealtimeScope&) = delete;

private:
    bool wasInside;
};
} // namespace realtime
