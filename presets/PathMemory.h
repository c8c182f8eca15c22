// The editor's memory of the last-used directory and file names: fixed buffers of 256
// characters and a terminator, UTF-8. The directory keeps its trailing separator and is
// kept apart from the file names, so one directory serves presets, banks and MIDI settings.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

constexpr std::size_t kMaxPathChars = 256;
using PathBuffer = std::array<char, kMaxPathChars + 1>;

#ifdef _WIN32
constexpr std::string_view kPathSeparators = "\\/";
#else
constexpr std::string_view kPathSeparators = "/";
#endif

// Stores text with a terminator. A text that does not fit (or holds a zero byte) is
// refused and the buffer left as it was: a cut path would name another file.
[[nodiscard]] bool assignPath(PathBuffer& buffer, std::string_view text) noexcept;

inline std::string_view pathText(const PathBuffer& buffer) noexcept
{
    return buffer.data();
}

struct SplitPath
{
    std::string_view directory; // up to and including the last separator
    std::string_view file;
};

// Splits a chosen file's full path after its last separator. Nothing for a path without a
// separator or one that names no file after it.
[[nodiscard]] std::optional<SplitPath>
splitAtLastSeparator(std::string_view path, std::string_view separators = kPathSeparators) noexcept;
