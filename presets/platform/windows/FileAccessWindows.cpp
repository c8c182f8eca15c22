// File access on Windows: the wide-character API, so that a path of any characters opens.
#include "presets/FileAccess.h"

#include "presets/platform/windows/WideText.h"

#include <atomic>
#include <cstring>
#include <string>

namespace
{
class Handle
{
public:
    explicit Handle(HANDLE handle) noexcept : handle(handle) {}
    ~Handle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const noexcept { return handle; }
    bool valid() const noexcept { return handle != INVALID_HANDLE_VALUE; }
    // Closes now, reporting whether the data reached the file system.
    bool close() noexcept
    {
        const BOOL closed = ::CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle;
};

// A short name beside the target, so that a file whose own name is near the system's limit
// can still have a temporary; unique per process and call, so concurrent writers never
// share one.
std::wstring temporaryFor(const std::wstring& path)
{
    static std::atomic<unsigned> counter{0};
    const auto separator = path.find_last_of(L"\\/");
    const std::wstring folder =
        separator == std::wstring::npos ? L"" : path.substr(0, separator + 1);
    return folder + L".tarva-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter.fetch_add(1, std::memory_order_relaxed));
}

SaveResult resultOf(DWORD error) noexcept
{
    switch (error)
    {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return SaveResult::noSpace;
    case ERROR_FILENAME_EXCED_RANGE: return SaveResult::tooLong;
    default: return SaveResult::failed;
    }
}
} // namespace

std::optional<std::size_t> readFile(const char* path, std::span<std::byte> buffer,
                                    LongerFile longer) noexcept
{
    std::memset(buffer.data(), 0, buffer.size());
    try
    {
        const auto widePath = widen(path);
        if (!widePath)
            return std::nullopt;
        // Read access only, and sharing with other readers and writers: a read-only file,
        // or one another program has open, still loads. Folders do not open this way.
        Handle file(::CreateFileW(widePath->c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK ||
            !::GetFileSizeEx(file.get(), &size))
            return std::nullopt;
        if (longer == LongerFile::refuse &&
            static_cast<unsigned long long>(size.QuadPart) > buffer.size())
            return std::nullopt;

        std::size_t total = 0;
        while (total < buffer.size())
        {
            DWORD got = 0;
            if (!::ReadFile(file.get(), buffer.data() + total,
                            static_cast<DWORD>(buffer.size() - total), &got, nullptr))
            {
                std::memset(buffer.data(), 0, buffer.size());
                return std::nullopt;
            }
            if (got == 0)
                break;
            total += got;
        }
        return total;
    }
    catch (...)
    {
        std::memset(buffer.data(), 0, buffer.size());
        return std::nullopt;
    }
}

SaveResult replaceFile(const char* path, std::span<const std::byte> data) noexcept
{
    try
    {
        const auto target = widen(path);
        if (!target)
            return SaveResult::failed;
        // The rename below would replace a read-only file too.
        const DWORD attributes = ::GetFileAttributesW(target->c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return SaveResult::readOnly;
        const std::wstring temporary = temporaryFor(*target);
        Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
        {
            const DWORD error = ::GetLastError();
            return error == ERROR_ACCESS_DENIED ? SaveResult::folderNotWritable : resultOf(error);
        }
        DWORD written = 0;
        // Flushed before the rename, so that after a crash the name holds the old or the
        // new record, never an empty or partial one.
        const bool complete = ::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()),
                                          &written, nullptr) &&
                              written == data.size() && ::FlushFileBuffers(file.get());
        if (file.close() && complete &&
            ::MoveFileExW(temporary.c_str(), target->c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return SaveResult::saved;
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return resultOf(error);
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
    text[0] = '\0';
    try
    {
        const DWORD needed = ::GetCurrentDirectoryW(0, nullptr); // with the terminator
        if (needed == 0)
            return false;
        std::wstring wide(needed, L'\0');
        const DWORD length = ::GetCurrentDirectoryW(needed, wide.data());
        if (length == 0 || length >= needed)
            return false;
        return narrow(wide.c_str(), text);
    }
    catch (...)
    {
        return false;
    }
}
