// Bitmap resources by integer id and the embedded text font. On Linux both are linked into
// the module at build time from the resource table; on Windows the bitmaps are resources
// of the DLL, named by the same table through a resource script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace gui
{
// The encoded image (PNG) of resource id, or an empty span when there is none.
std::span<const unsigned char> findBitmapResource(std::int32_t id) noexcept;
// The text font's TrueType data.
std::span<const unsigned char> embeddedFont() noexcept;
} // namespace gui
