// Files of the preset system, named by full path in UTF-8. Nothing here changes the
// process's working directory: the host owns it. User-interface threads only.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

enum class LongerFile
{
    readPrefix, // a record file: read the start, ignore the rest
    refuse,     // a stored value: one longer than the buffer is not read at all
};

// Zeroes buffer, then reads at most its size from the start of the regular file at path.
// Answers the number of bytes read, or nothing when the file cannot be opened or read (a
// refused longer file included); the buffer is then all zero.
[[nodiscard]] std::optional<std::size_t> readFile(const char* path, std::span<std::byte> buffer,
                                                  LongerFile longer) noexcept;

// Makes data the whole content of the file at path: written to a temporary file beside it
// and renamed over it, so no reader ever sees a half-written file. False on any failure,
// and then the file is as it was.
[[nodiscard]] bool replaceFile(const char* path, std::span<const std::byte> data) noexcept;

// The process's working directory, with a terminator, in text. False when it does not fit.
[[nodiscard]] bool workingDirectory(std::span<char> text) noexcept;
