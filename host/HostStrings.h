// Copies texts into buffers the host owns.
#pragma once

#include <cstddef>
#include <cstring>

// Writes at most maxChars characters of text and always a terminating zero, so a
// host buffer of maxChars + 1 bytes is never overrun.
inline void copyHostString(char* dest, const char* text, std::size_t maxChars) noexcept
{
    if (dest == nullptr)
        return;
    std::size_t n = 0;
    if (text != nullptr)
        while (n < maxChars && text[n] != '\0')
            ++n;
    std::memcpy(dest, text, n);
    dest[n] = '\0';
}

// Writes text and then zero bytes up to a total of fieldBytes (text longer than
// fieldBytes - 1 is cut). Some identity answers are specified as fixed-width fields.
inline void copyHostStringPadded(char* dest, const char* text, std::size_t fieldBytes) noexcept
{
    if (dest == nullptr || fieldBytes == 0)
        return;
    std::memset(dest, 0, fieldBytes);
    copyHostString(dest, text, fieldBytes - 1);
}
