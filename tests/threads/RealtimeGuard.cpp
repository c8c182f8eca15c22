// The interposed functions. Allocation forwards to the C library's own entry points
// (__libc_malloc and kin), which never come back here; everything else to the next
// definition, looked up once with dlsym. Nothing here allocates, locks or uses a guarded
// static: these functions run inside the C library's and the C++ runtime's own locks.
#include "RealtimeGuard.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

extern "C"
{
    void* __libc_malloc(std::size_t size);
    void* __libc_calloc(std::size_t count, std::size_t size);
    void* __libc_realloc(void* pointer, std::size_t size);
    void __libc_free(void* pointer);
    void* __libc_memalign(std::size_t alignment, std::size_t size);
    void* __libc_valloc(std::size_t size);
    void* __libc_pvalloc(std::size_t size);
}

namespace realtime
{
namespace
{
struct ThreadState
{
    bool inside = false;
    const char* entry = nullptr;
    Calls calls;
};
constinit thread_local ThreadState state{};

bool abortAtFirstCall = false;

[[gnu::constructor]] void readOptions()
{
    const char* text = std::getenv("TARVA_REALTIME_ABORT");
    abortAtFirstCall = text != nullptr && text[0] == '1';
}

void note(Call call) noexcept
{
    ThreadState& s = state;
    if (!s.inside)
        return;
    if (s.calls.total++ == 0)
    {
        s.calls.first = call;
        s.calls.firstEntry = s.entry;
        if (abortAtFirstCall)
            std::abort();
    }
    ++s.calls.counts[static_cast<int>(call)];
}

// The next definition of a function, found on first use. Two threads may both look it
// up; they find the same address.
template <class Function>
Function nextDefinition(std::atomic<void*>& slot, const char* name) noexcept
{
    void* found = slot.load(std::memory_order_acquire);
    if (found == nullptr)
    {
        found = dlsym(RTLD_NEXT, name);
        if (found == nullptr)
            std::abort(); // nothing to forward to: the program cannot go on
        slot.store(found, std::memory_order_release);
    }
    return reinterpret_cast<Function>(found);
}

#define TARVA_NEXT(name)                                                                           \
    []                                                                                             \
    {                                                                                              \
        static std::atomic<void*> slot{nullptr};                                                   \
        return realtime::nextDefinition<decltype(&::name)>(slot, #name);                           \
    }()
} // namespace

const char* callName(Call call) noexcept
{
    constexpr const char* names[] = {
        "malloc",
        "calloc",
        "realloc",
        "free",
        "aligned allocation",
        "operator new",
        "operator delete",
        "mutex lock",
        "rwlock",
        "spin lock",
        "condition wait",
        "semaphore wait",
        "sleep",
        "sched_yield",
        "syscall",
        "thread create/join",
        "file I/O",
    };
    static_assert(std::size(names) == static_cast<std::size_t>(Call::count));
    const auto index = static_cast<std::size_t>(call);
    return index < std::size(names) ? names[index] : "nothing";
}

Calls takeCalls() noexcept
{
    const Calls taken = state.calls;
    state.calls = Calls{};
    return taken;
}

RealtimeScope::RealtimeScope(const char* entry) noexcept
    : wasInside(state.inside), previousEntry(state.entry)
{
    state.entry = entry;
    state.inside = true;
}

RealtimeScope::~RealtimeScope()
{
    state.inside = wasInside;
    state.entry = previousEntry;
}

NonRealtimeScope::NonRealtimeScope() noexcept : wasInside(state.inside)
{
    state.inside = false;
}

NonRealtimeScope::~NonRealtimeScope()
{
    state.inside = wasInside;
}
} // namespace realtime

using realtime::Call;
using realtime::note;

// Exported, so that the shared libraries' calls (the C++ runtime's) come here too: the
// build hides every other symbol.
#define TARVA_INTERPOSED [[gnu::visibility("default")]]

namespace
{
void* allocated(void* pointer)
{
    if (pointer == nullptr)
        throw std::bad_alloc();
    return pointer;
}
} // namespace

// ---- the C library's allocation ---------------------------------------------------------

extern "C" TARVA_INTERPOSED void* malloc(std::size_t size) noexcept
{
    note(Call::malloc);
    return __libc_malloc(size);
}

extern "C" TARVA_INTERPOSED void* calloc(std::size_t count, std::size_t size) noexcept
{
    note(Call::calloc);
    return __libc_calloc(count, size);
}

extern "C" TARVA_INTERPOSED void* realloc(void* pointer, std::size_t size) noexcept
{
    note(Call::realloc);
    return __libc_realloc(pointer, size);
}

extern "C" TARVA_INTERPOSED void free(void* pointer) noexcept
{
    note(Call::free);
    __libc_free(pointer);
}

extern "C" TARVA_INTERPOSED void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    note(Call::alignedAlloc);
    return __libc_memalign(alignment, size);
}

extern "C" TARVA_INTERPOSED int posix_memalign(void** out, std::size_t alignment,
                                               std::size_t size) noexcept
{
    note(Call::alignedAlloc);
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr)
        return ENOMEM;
    *out = pointer;
    return 0;
}

extern "C" TARVA_INTERPOSED void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    note(Call::alignedAlloc);
    return __libc_memalign(alignment, size);
}

extern "C" TARVA_INTERPOSED void* valloc(std::size_t size) noexcept
{
    note(Call::alignedAlloc);
    return __libc_valloc(size);
}

extern "C" TARVA_INTERPOSED void* pvalloc(std::size_t size) noexcept
{
    note(Call::alignedAlloc);
    return __libc_pvalloc(size);
}

// ---- the C++ runtime's allocation -------------------------------------------------------

TARVA_INTERPOSED void* operator new(std::size_t size)
{
    note(Call::operatorNew);
    return allocated(__libc_malloc(size));
}

TARVA_INTERPOSED void* operator new[](std::size_t size)
{
    note(Call::operatorNew);
    return allocated(__libc_malloc(size));
}

TARVA_INTERPOSED void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    note(Call::operatorNew);
    return __libc_malloc(size);
}

TARVA_INTERPOSED void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    note(Call::operatorNew);
    return __libc_malloc(size);
}

TARVA_INTERPOSED void* operator new(std::size_t size, std::align_val_t alignment)
{
    note(Call::operatorNew);
    return allocated(__libc_memalign(static_cast<std::size_t>(alignment), size));
}

TARVA_INTERPOSED void* operator new[](std::size_t size, std::align_val_t alignment)
{
    note(Call::operatorNew);
    return allocated(__libc_memalign(static_cast<std::size_t>(alignment), size));
}

TARVA_INTERPOSED void* operator new(std::size_t size, std::align_val_t alignment,
                                    const std::nothrow_t&) noexcept
{
    note(Call::operatorNew);
    return __libc_memalign(static_cast<std::size_t>(alignment), size);
}

TARVA_INTERPOSED void* operator new[](std::size_t size, std::align_val_t alignment,
                                      const std::nothrow_t&) noexcept
{
    note(Call::operatorNew);
    return __libc_memalign(static_cast<std::size_t>(alignment), size);
}

TARVA_INTERPOSED void operator delete(void* pointer) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete(void* pointer, std::size_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer, std::size_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete(void* pointer, std::align_val_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer, std::align_val_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete(void* pointer, std::align_val_t,
                                      const std::nothrow_t&) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

TARVA_INTERPOSED void operator delete[](void* pointer, std::align_val_t,
                                        const std::nothrow_t&) noexcept
{
    note(Call::operatorDelete);
    __libc_free(pointer);
}

// ---- locks and waits --------------------------------------------------------------------

extern "C" TARVA_INTERPOSED int pthread_mutex_lock(pthread_mutex_t* mutex) noexcept
{
    note(Call::mutexLock);
    return TARVA_NEXT(pthread_mutex_lock)(mutex);
}

extern "C" TARVA_INTERPOSED int pthread_mutex_trylock(pthread_mutex_t* mutex) noexcept
{
    note(Call::mutexLock);
    return TARVA_NEXT(pthread_mutex_trylock)(mutex);
}

extern "C" TARVA_INTERPOSED int pthread_mutex_timedlock(pthread_mutex_t* mutex,
                                                        const timespec* until) noexcept
{
    note(Call::mutexLock);
    return TARVA_NEXT(pthread_mutex_timedlock)(mutex, until);
}

extern "C" TARVA_INTERPOSED int pthread_mutex_clocklock(pthread_mutex_t* mutex, clockid_t clock,
                                                        const timespec* until) noexcept
{
    note(Call::mutexLock);
    return TARVA_NEXT(pthread_mutex_clocklock)(mutex, clock, until);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_rdlock(pthread_rwlock_t* lock) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_rdlock)(lock);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_wrlock(pthread_rwlock_t* lock) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_wrlock)(lock);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_tryrdlock(pthread_rwlock_t* lock) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_tryrdlock)(lock);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_trywrlock(pthread_rwlock_t* lock) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_trywrlock)(lock);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_timedrdlock(pthread_rwlock_t* lock,
                                                           const timespec* until) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_timedrdlock)(lock, until);
}

extern "C" TARVA_INTERPOSED int pthread_rwlock_timedwrlock(pthread_rwlock_t* lock,
                                                           const timespec* until) noexcept
{
    note(Call::rwlock);
    return TARVA_NEXT(pthread_rwlock_timedwrlock)(lock, until);
}

extern "C" TARVA_INTERPOSED int pthread_spin_lock(pthread_spinlock_t* lock) noexcept
{
    note(Call::spinLock);
    return TARVA_NEXT(pthread_spin_lock)(lock);
}

extern "C" TARVA_INTERPOSED int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex)
{
    note(Call::condWait);
    return TARVA_NEXT(pthread_cond_wait)(condition, mutex);
}

extern "C" TARVA_INTERPOSED int
pthread_cond_timedwait(pthread_cond_t* condition, pthread_mutex_t* mutex, const timespec* until)
{
    note(Call::condWait);
    return TARVA_NEXT(pthread_cond_timedwait)(condition, mutex, until);
}

extern "C" TARVA_INTERPOSED int pthread_cond_clockwait(pthread_cond_t* condition,
                                                       pthread_mutex_t* mutex, clockid_t clock,
                                                       const timespec* until)
{
    note(Call::condWait);
    return TARVA_NEXT(pthread_cond_clockwait)(condition, mutex, clock, until);
}

extern "C" TARVA_INTERPOSED int sem_wait(sem_t* semaphore)
{
    note(Call::semWait);
    return TARVA_NEXT(sem_wait)(semaphore);
}

extern "C" TARVA_INTERPOSED int sem_trywait(sem_t* semaphore) noexcept
{
    note(Call::semWait);
    return TARVA_NEXT(sem_trywait)(semaphore);
}

extern "C" TARVA_INTERPOSED int sem_timedwait(sem_t* semaphore, const timespec* until)
{
    note(Call::semWait);
    return TARVA_NEXT(sem_timedwait)(semaphore, until);
}

extern "C" TARVA_INTERPOSED int sem_clockwait(sem_t* semaphore, clockid_t clock,
                                              const timespec* until)
{
    note(Call::semWait);
    return TARVA_NEXT(sem_clockwait)(semaphore, clock, until);
}

extern "C" TARVA_INTERPOSED int nanosleep(const timespec* duration, timespec* remaining)
{
    note(Call::sleep);
    return TARVA_NEXT(nanosleep)(duration, remaining);
}

extern "C" TARVA_INTERPOSED int clock_nanosleep(clockid_t clock, int flags,
                                                const timespec* duration, timespec* remaining)
{
    note(Call::sleep);
    return TARVA_NEXT(clock_nanosleep)(clock, flags, duration, remaining);
}

extern "C" TARVA_INTERPOSED int usleep(useconds_t microseconds)
{
    note(Call::sleep);
    return TARVA_NEXT(usleep)(microseconds);
}

extern "C" TARVA_INTERPOSED unsigned int sleep(unsigned int seconds)
{
    note(Call::sleep);
    return TARVA_NEXT(sleep)(seconds);
}

extern "C" TARVA_INTERPOSED int sched_yield() noexcept
{
    note(Call::yield);
    return TARVA_NEXT(sched_yield)();
}

// Futex waits (std::atomic::wait, semaphores, latches) are made through syscall(); every
// system call made that way counts. At most six arguments, as the kernel takes.
extern "C" TARVA_INTERPOSED long syscall(long number, ...) noexcept
{
    note(Call::systemCall);
    va_list list;
    va_start(list, number);
    long arguments[6];
    for (long& argument : arguments)
        argument = va_arg(list, long);
    va_end(list);
    return TARVA_NEXT(syscall)(number, arguments[0], arguments[1], arguments[2], arguments[3],
                               arguments[4], arguments[5]);
}

extern "C" TARVA_INTERPOSED int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                                               void* (*start)(void*), void* argument) noexcept
{
    note(Call::threads);
    return TARVA_NEXT(pthread_create)(thread, attributes, start, argument);
}

extern "C" TARVA_INTERPOSED int pthread_join(pthread_t thread, void** result)
{
    note(Call::threads);
    return TARVA_NEXT(pthread_join)(thread, result);
}

// ---- files ------------------------------------------------------------------------------

extern "C" TARVA_INTERPOSED int open(const char* path, int flags, ...)
{
    note(Call::fileIo);
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE)
    {
        va_list list;
        va_start(list, flags);
        mode = static_cast<mode_t>(va_arg(list, unsigned int));
        va_end(list);
    }
    return TARVA_NEXT(open)(path, flags, mode);
}

extern "C" TARVA_INTERPOSED int openat(int directory, const char* path, int flags, ...)
{
    note(Call::fileIo);
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE)
    {
        va_list list;
        va_start(list, flags);
        mode = static_cast<mode_t>(va_arg(list, unsigned int));
        va_end(list);
    }
    return TARVA_NEXT(openat)(directory, path, flags, mode);
}

extern "C" TARVA_INTERPOSED FILE* fopen(const char* path, const char* mode)
{
    note(Call::fileIo);
    return TARVA_NEXT(fopen)(path, mode);
}

extern "C" TARVA_INTERPOSED ssize_t read(int file, void* buffer, std::size_t bytes)
{
    note(Call::fileIo);
    return TARVA_NEXT(read)(file, buffer, bytes);
}

extern "C" TARVA_INTERPOSED ssize_t write(int file, const void* buffer, std::size_t bytes)
{
    note(Call::fileIo);
    return TARVA_NEXT(write)(file, buffer, bytes);
}
