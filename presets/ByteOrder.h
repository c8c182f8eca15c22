// 32-bit fields of stored records, read and written byte by byte.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::uint32_t byteSwap32(std::uint32_t v) noexcept
{
    return (v >> 24) | ((v >> 8) & 0x0000ff00u) | ((v << 8) & 0x00ff0000u) | (v << 24);
}

// The machine's own order: records are written that way and tell readers by their identifier.
inline std::uint32_t loadNative32(const std::byte* p) noexcept
{
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void storeNative32(std::byte* p, std::uint32_t v) noexcept
{
    std::memcpy(p, &v, sizeof v);
}

// A field of a record whose byte order is the machine's (swapped false) or the reverse.
inline std::uint32_t loadWord(const std::byte* p, bool swapped) noexcept
{
    const std::uint32_t v = loadNative32(p);
    return swapped ? byteSwap32(v) : v;
}

inline float loadFloat(const std::byte* p, bool swapped) noexcept
{
    return std::bit_cast<float>(loadWord(p, swapped));
}

inline void storeFloat(std::byte* p, float v) noexcept
{
    storeNative32(p, std::bit_cast<std::uint32_t>(v));
}
