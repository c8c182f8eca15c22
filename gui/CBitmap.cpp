#include "gui/CBitmap.h"

#include "gui/CDrawContext.h"
#include "gui/Resources.h"

#include <climits>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb/stb_image.h>

CBitmap::CBitmap(const CResourceDescription& desc) : resourceId(desc.id)
{
    const auto data = gui::findBitmapResource(desc.id);
    if (!data.empty())
        decode(data.data(), data.size());
}

CBitmap::CBitmap(CCoord width, CCoord height)
    : image(static_cast<int>(width), static_cast<int>(height), 0u)
{
}

CBitmap* CBitmap::fromEncoded(const unsigned char* data, std::size_t size)
{
    auto* bitmap = new CBitmap();
    bitmap->decode(data, size);
    return bitmap;
}

bool CBitmap::decode(const unsigned char* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(INT_MAX))
        return false;
    int w = 0;
    int h = 0;
    int channels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, STBI_rgb_alpha);
    if (!rgba)
        return false;
    image = PixelBuffer(w, h, 0u);
    const stbi_uc* p = rgba;
    for (auto& pixel : image.pixels)
    {
        pixel = (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) |
                (std::uint32_t{p[1]} << 8) | std::uint32_t{p[2]};
        p += 4;
    }
    stbi_image_free(rgba);
    updateOpacity();
    return true;
}

void CBitmap::updateOpacity() noexcept
{
    opaque = true;
    for (const auto pixel : image.pixels)
        if ((pixel >> 24) != 0xffu)
        {
            opaque = false;
            return;
        }
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context)
        context->drawBitmap(this, rect, offset, alpha);
}
