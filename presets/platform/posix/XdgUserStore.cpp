// The per-user store as files: one per value in $XDG_CONFIG_HOME/QEL-sonics/TARVA/, each
// holding a record's bytes or a path's UTF-8 text without terminator.
#include "presets/UserStore.h"

#include "presets/FileAccess.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or relative (relative paths there
// are invalid and to be ignored).
std::optional<std::string> configHome()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && configured[0] == '/')
        return std::string(configured);
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config";
    return std::nullopt;
}

std::optional<std::string> valuePath(const char* name)
{
    auto home = configHome();
    if (!home)
        return std::nullopt;
    return *home + "/QEL-sonics/TARVA/" + name;
}

// Every missing folder on the way is made, $XDG_CONFIG_HOME's own parents included (it
// may name a folder that does not exist yet), private to the user as configuration
// folders are. Folders that exist are left as they are.
bool makeStoreFolder()
{
    const auto home = configHome();
    if (!home)
        return false;
    const std::string store = *home + "/QEL-sonics/TARVA";
    for (std::size_t end = store.find('/', 1);; end = store.find('/', end + 1))
    {
        if (::mkdir(store.substr(0, end).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            return true;
    }
}

// Whether the value already holds exactly these bytes, so that releasing an instance does
// not rewrite four unchanged files: hosts create and release instances in scans.
bool holds(const std::string& path, std::span<const std::byte> bytes) noexcept
{
    std::array<std::byte, 2048> stored;
    if (bytes.size() > stored.size())
        return false;
    const auto read =
        readFile(path.c_str(), std::span(stored.data(), bytes.size()), LongerFile::refuse);
    return read && *read == bytes.size() &&
           std::memcmp(stored.data(), bytes.data(), bytes.size()) == 0;
}

// The value's bytes, at most as many as the buffer holds; nothing for a longer value.
std::optional<std::size_t> readValue(const char* name, std::span<std::byte> buffer) noexcept
{
    std::memset(buffer.data(), 0, buffer.size());
    try
    {
        const auto path = valuePath(name);
        if (!path)
            return std::nullopt;
        return readFile(path->c_str(), buffer, LongerFile::refuse);
    }
    catch (...)
    {
        return std::nullopt;
    }
}
} // namespace

bool userStore::readRecord(const char* name, std::span<std::byte> record) noexcept
{
    // A record is whole or it is not one: a cut value must not load as zeros.
    const auto read = readValue(name, record);
    if (read && *read == record.size())
        return true;
    std::memset(record.data(), 0, record.size());
    return false;
}

bool userStore::writeRecord(const char* name, std::span<const std::byte> record) noexcept
{
    try
    {
        const auto path = valuePath(name);
        if (!path || !makeStoreFolder())
            return false;
        // A temporary renamed over the value: readers see the old record or the new one.
        return holds(*path, record) || replaceFile(path->c_str(), record) == SaveResult::saved;
    }
    catch (...)
    {
        return false;
    }
}

bool userStore::deleteValue(const char* name) noexcept
{
    try
    {
        const auto path = valuePath(name);
        return path && ::unlink(path->c_str()) == 0;
    }
    catch (...)
    {
        return false;
    }
}

void userStore::readPath(const char* name, PathBuffer& text) noexcept
{
    text.fill('\0');
    std::array<std::byte, kMaxPathChars> bytes;
    if (!readValue(name, bytes))
        return;
    // A zero byte inside would cut the path into another one.
    const auto end = std::find(bytes.begin(), bytes.end(), std::byte{0});
    std::size_t length = static_cast<std::size_t>(end - bytes.begin());
    const auto rest = std::find_if(end, bytes.end(), [](std::byte b) { return b != std::byte{0}; });
    if (rest != bytes.end())
        return;
    std::memcpy(text.data(), bytes.data(), length);
}

bool userStore::writePath(const char* name, const PathBuffer& text) noexcept
{
    const std::size_t length = std::strlen(text.data());
    return writeRecord(name, std::as_bytes(std::span(text.data(), length)));
}
