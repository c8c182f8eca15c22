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

// How a save ended, for the editor to put into words.
enum class SaveResult
{
    saved,
    readOnly,          // the file is marked read-only: it is never replaced
    folderNotWritable, // a new file cannot be made in its folder
    noSpace,           // the disk or the user's quota is full, or the file size limit reached
    tooLong,           // the path or one of its names is longer than the system allows
    failed,            // anything else: not a regular file, too many links, an I/O error
};

// Makes data the whole content of the file at path. Symbolic links are followed and their
// final target written, so the link stays a link. A file whose write permission bits are
// all clear is refused; that check reads the mode itself, so it holds for the superuser
// too. Otherwise the data goes to a temporary beside the file, given the file's mode and
// owner, synced and renamed over it: no reader sees a half-written file, and on failure
// the file is as it was. A file with further hard links, another user's file, or one in
// a folder that cannot take the temporary, is rewritten in place instead, which keeps its
// links and owner but may leave it cut short when the write fails.
[[nodiscard]] SaveResult replaceFile(const char* path, std::span<const std::byte> data) noexcept;

// The process's working directory, with a terminator, in text. False when it does not fit.
[[nodiscard]] bool workingDirectory(std::span<char> text) noexcept;
