// A reference-counted image: decoded once from a resource and kept as straight
// (non-premultiplied) 0xAARRGGBB pixels.
#pragma once

#include "gui/CBaseObject.h"
#include "gui/CGraphics.h"
#include "gui/PixelBuffer.h"

class CDrawContext;

struct CResourceDescription
{
    constexpr CResourceDescription(std::int32_t id) : id(id) {}
    std::int32_t id;
};

class CBitmap : public CBaseObject
{
public:
    // Loads the bitmap resource; isLoaded tells whether it was found and decoded.
    explicit CBitmap(const CResourceDescription& desc);
    // An image made in code, all transparent.
    CBitmap(CCoord width, CCoord height);
    // An image from encoded bytes (PNG, BMP, ...).
    static CBitmap* fromEncoded(const unsigned char* data, std::size_t size);

    bool isLoaded() const noexcept { return image.width > 0; }
    CCoord getWidth() const noexcept { return image.width; }
    CCoord getHeight() const noexcept { return image.height; }
    std::int32_t getResourceId() const noexcept { return resourceId; }

    // Draws the part of the image starting at offset into rect, scaled by alpha.
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = {},
              float alpha = 1.0f);

    PixelBuffer& pixels() noexcept { return image; }
    const PixelBuffer& pixels() const noexcept { return image; }
    // Whether every pixel is opaque, so that drawing may copy instead of blend.
    bool isOpaque() const noexcept { return opaque; }
    void updateOpacity() noexcept;

private:
    CBitmap() = default;
    bool decode(const unsigned char* data, std::size_t size);

    PixelBuffer image;
    std::int32_t resourceId = -1;
    bool opaque = false;
};
