// File access on POSIX systems: plain descriptors, paths passed through as bytes.
#include "presets/FileAccess.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class Descriptor
{
public:
    explicit Descriptor(int fd) noexcept : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return fd; }
    // Closes now, reporting whether the data reached the file system.
    bool close() noexcept
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool writeAll(int fd, std::span<const std::byte> data) noexcept
{
    std::size_t done = 0;
    while (done < data.size())
    {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Unique per process and call, so concurrent writers of one file never share a temporary.
std::string temporaryNameFor(const char* path)
{
    static std::atomic<unsigned> counter{0};
    return std::string(path) + ".tmp-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
}
} // namespace

std::optional<std::size_t> readFile(const char* path, std::span<std::byte> buffer,
                                    LongerFile longer) noexcept
{
    std::memset(buffer.data(), 0, buffer.size());
    if (path == nullptr)
        return std::nullopt;
    // Non-blocking, so that a FIFO chosen by mistake cannot hang the user interface.
    Descriptor file(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (longer == LongerFile::refuse && static_cast<std::size_t>(info.st_size) > buffer.size())
        return std::nullopt;

    std::size_t total = 0;
    while (total < buffer.size())
    {
        const ssize_t n = ::read(file.get(), buffer.data() + total, buffer.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            std::memset(buffer.data(), 0, buffer.size());
            return std::nullopt;
        }
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

bool replaceFile(const char* path, std::span<const std::byte> data) noexcept
{
    if (path == nullptr)
        return false;
    try
    {
        const std::string temporary = temporaryNameFor(path);
        Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.get() < 0)
            return false;
        // Synced before the rename, so that after a crash the name holds the old or the
        // new record, never an empty or partial one.
        const bool written = writeAll(file.get(), data) && ::fsync(file.get()) == 0;
        if (file.close() && written && std::rename(temporary.c_str(), path) == 0)
            return true;
        ::unlink(temporary.c_str());
        return false;
    }
    catch (...)
    {
        return false; // out of memory for the temporary's name
    }
}

bool workingDirectory(std::span<char> text) noexcept
{
    if (text.empty())
        return false;
    if (::getcwd(text.data(), text.size()) != nullptr)
        return true;
    text[0] = '\0';
    return false;
}
