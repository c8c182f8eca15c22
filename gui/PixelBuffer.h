// The software surface everything draws into: 32-bit pixels 0xAARRGGBB in rows, top row
// first. The same layout as a 32-bit X11 ZPixmap and a top-down Windows DIB.
#pragma once

#include <cstdint>
#include <vector>

struct PixelBuffer
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelBuffer() = default;
    PixelBuffer(int width, int height, std::uint32_t fill = 0xff000000u)
        : width(width), height(height),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
    {
    }
    std::uint32_t* row(int y) noexcept
    {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    const std::uint32_t* row(int y) const noexcept
    {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    std::uint32_t at(int x, int y) const noexcept { return row(y)[x]; }
};
