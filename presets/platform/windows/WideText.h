// UTF-8, as the preset system keeps paths, to and from the UTF-16 of the wide-character
// API, so that folders with any characters work.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <optional>
#include <span>
#include <string>

// Nothing for text that is not valid UTF-8. May throw std::bad_alloc.
inline std::optional<std::wstring> widen(const char* utf8)
{
    if (utf8 == nullptr)
        return std::nullopt;
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length) !=
        length)
        return std::nullopt;
    wide.pop_back(); // the terminator, counted because the length was -1
    return wide;
}

// Writes the terminated text into out with its terminator. False, and out empty, for
// text that is not valid UTF-16 or does not fit.
inline bool narrow(const wchar_t* wide, std::span<char> out) noexcept
{
    if (out.empty())
        return false;
    const int written = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, out.data(),
                                              static_cast<int>(out.size()), nullptr, nullptr);
    if (written > 0)
        return true;
    std::memset(out.data(), 0, out.size());
    return false;
}
