// File access on POSIX systems: plain descriptors, paths passed through as bytes.
#include "presets/FileAccess.h"

#include <atomic>
#include <cerrno>
#include <climits>
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

SaveResult resultOf(int error) noexcept
{
    switch (error)
    {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return SaveResult::noSpace;
    case ENAMETOOLONG: return SaveResult::tooLong;
    default: return SaveResult::failed;
    }
}

// Follows symbolic links in the last name of path until it names no link: the file a save
// must write. A dangling link answers the name its target would have. Nothing when a link
// cannot be read or the chain does not end; errno then says why.
std::optional<std::string> finalTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops)
    {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0)
        {
            if (errno == ENOENT)
                return path;
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(length) == link.size())
        {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        link.resize(static_cast<std::size_t>(length));
        // A relative target is relative to the folder holding the link.
        const auto slash = path.rfind('/');
        if (link.empty() || link.front() == '/' || slash == std::string::npos)
            path = std::move(link);
        else
            path = path.substr(0, slash + 1) + link;
    }
    errno = ELOOP;
    return std::nullopt;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether this process may write the entry. Its mode is read first, because access checks
// pass everything for the superuser, who must not overwrite a file the user protected.
bool writable(const char* path, mode_t mode, int how) noexcept
{
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return ::faccessat(AT_FDCWD, path, how, AT_EACCESS) == 0;
}

// A short name, so that a file whose own name is near the system's limit can still have a
// temporary; unique per process and call, so concurrent writers never share one.
std::string temporaryIn(const std::string& folder)
{
    static std::atomic<unsigned> counter{0};
    return folder + "/.tarva-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1, std::memory_order_relaxed));
}

// Rewrites the file where it is: its links, mode and owner stay as they were. The bytes are
// written before the file is cut to their length, so a failed write never leaves it empty.
SaveResult writeInPlace(const std::string& target, std::span<const std::byte> data) noexcept
{
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
    if (file.get() < 0)
        return resultOf(errno);
    if (!writeAll(file.get(), data) ||
        ::ftruncate(file.get(), static_cast<off_t>(data.size())) != 0 || ::fsync(file.get()) != 0)
        return resultOf(errno);
    return file.close() ? SaveResult::saved : resultOf(errno);
}

// Writes a temporary beside the target, with the target's mode and (where permitted) owner,
// and renames it over the target.
SaveResult writeAndRename(const std::string& target, const struct stat* existing,
                          std::span<const std::byte> data)
{
    const std::string folder = folderOf(target);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 10 && fd < 0; ++attempt)
    {
        temporary = temporaryIn(folder);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    Descriptor file(fd);
    if (file.get() < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS ? SaveResult::folderNotWritable
                                                                   : resultOf(errno);
    bool kept = true;
    if (existing != nullptr)
    {
        // Another owner can only be given by the superuser; the group often by its members.
        // Either may be refused, and then the file becomes the saver's, as any new file.
        if (::fchown(file.get(), existing->st_uid, existing->st_gid) != 0)
            (void)::fchown(file.get(), static_cast<uid_t>(-1), existing->st_gid);
        // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
        kept = ::fchmod(file.get(), existing->st_mode & 07777) == 0;
    }
    // Synced before the rename, so that after a crash the name holds the old or the new
    // record, never an empty or partial one.
    if (kept && writeAll(file.get(), data) && ::fsync(file.get()) == 0 && file.close() &&
        std::rename(temporary.c_str(), target.c_str()) == 0)
    {
        // The rename itself reaches the disk with the folder's entries.
        Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (directory.get() >= 0)
            (void)::fsync(directory.get());
        return SaveResult::saved;
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    return resultOf(error);
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

SaveResult replaceFile(const char* path, std::span<const std::byte> data) noexcept
{
    if (path == nullptr || *path == '\0')
        return SaveResult::failed;
    try
    {
        const auto target = finalTarget(path);
        if (!target)
            return resultOf(errno);
        struct stat info;
        const bool exists = ::stat(target->c_str(), &info) == 0;
        if (!exists && errno != ENOENT)
            return resultOf(errno);
        if (exists && !S_ISREG(info.st_mode))
            return SaveResult::failed;
        if (exists && !writable(target->c_str(), info.st_mode, W_OK))
            return SaveResult::readOnly;

        struct stat folderInfo;
        const std::string folder = folderOf(*target);
        if (::stat(folder.c_str(), &folderInfo) != 0)
            return resultOf(errno);
        const bool folderWritable = writable(folder.c_str(), folderInfo.st_mode, W_OK | X_OK);
        if (!exists)
            return folderWritable ? writeAndRename(*target, nullptr, data)
                                  : SaveResult::folderNotWritable;
        // A rename would split further hard links from the new content, and would make
        // another user's file ours: only the superuser can give a file away. In a shared
        // folder with the sticky bit (/tmp) that rename is refused outright.
        const bool othersFile = info.st_uid != ::geteuid() && ::geteuid() != 0;
        if (info.st_nlink > 1 || !folderWritable || othersFile)
            return writeInPlace(*target, data);
        return writeAndRename(*target, &info, data);
    }
    catch (...)
    {
        return SaveResult::failed; // out of memory for a path
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
