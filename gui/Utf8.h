// Steps through UTF-8 text a character at a time, so that editing never splits one.
#pragma once

#include <cstddef>
#include <string>

namespace gui
{
inline bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Where the character before byte offset at starts; 0 at the start.
inline std::size_t previousCharacterStart(const std::string& text, std::size_t at)
{
    if (at == 0)
        return 0;
    --at;
    while (at > 0 && isUtf8Continuation(text[at]))
        --at;
    return at;
}

// Where the character after the one at byte offset at starts; the size at the end.
inline std::size_t nextCharacterStart(const std::string& text, std::size_t at)
{
    if (at >= text.size())
        return text.size();
    ++at;
    while (at < text.size() && isUtf8Continuation(text[at]))
        ++at;
    return at;
}

inline void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
        out += static_cast<char>(c);
    else if (c < 0x800)
    {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
    else if (c < 0x110000)
    {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}
} // namespace gui
