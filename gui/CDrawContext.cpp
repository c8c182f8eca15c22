#include "gui/CDrawContext.h"

#include "gui/FontRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
CFontDesc gNormalFontVeryBig("Arial", 18);
CFontDesc gNormalFontBig("Arial", 14);
CFontDesc gNormalFont("Arial", 12);
CFontDesc gNormalFontSmall("Arial", 11);
CFontDesc gNormalFontSmaller("Arial", 10);
CFontDesc gNormalFontVerySmall("Arial", 9);

inline std::uint32_t blend(std::uint32_t dst, std::uint32_t r, std::uint32_t g, std::uint32_t b,
                           std::uint32_t a) noexcept
{
    // a in 0..255; (x * a + y * (255 - a) + 127) / 255, exact for every input.
    const std::uint32_t inv = 255 - a;
    const auto mix = [&](std::uint32_t s, std::uint32_t d)
    {
        const std::uint32_t t = s * a + d * inv + 128;
        return (t + (t >> 8)) >> 8;
    };
    return 0xff000000u | (mix(r, (dst >> 16) & 0xff) << 16) | (mix(g, (dst >> 8) & 0xff) << 8) |
           mix(b, dst & 0xff);
}
} // namespace

const CFontRef kNormalFontVeryBig = &gNormalFontVeryBig;
const CFontRef kNormalFontBig = &gNormalFontBig;
const CFontRef kNormalFont = &gNormalFont;
const CFontRef kNormalFontSmall = &gNormalFontSmall;
const CFontRef kNormalFontSmaller = &gNormalFontSmaller;
const CFontRef kNormalFontVerySmall = &gNormalFontVerySmall;

CDrawContext::CDrawContext(PixelBuffer& target) : target(target), font(*kNormalFont)
{
    resetClipRect();
}

void CDrawContext::resetClipRect()
{
    clipRect = CRect(0, 0, target.width, target.height);
}

void CDrawContext::setClipRect(const CRect& clip)
{
    clipRect = clip;
    clipRect.bound(CRect(0, 0, target.width, target.height));
}

void CDrawContext::setFont(const CFontDesc* newFont, CCoord size, std::int32_t style)
{
    if (newFont)
        font = *newFont;
    if (size > 0)
        font.setSize(size);
    if (style >= 0)
        font.setStyle(style);
}

CDrawContext::IntRect CDrawContext::clipped(const CRect& rect) const
{
    CRect r = rect;
    r.bound(clipRect);
    return {static_cast<int>(std::lround(r.left)), static_cast<int>(std::lround(r.top)),
            static_cast<int>(std::lround(r.right)), static_cast<int>(std::lround(r.bottom))};
}

void CDrawContext::blendSpan(int y, int x0, int x1, const CColor& color)
{
    CRect span(x0, y, x1, y + 1);
    const IntRect r = clipped(span);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    std::uint32_t* row = target.row(r.top);
    for (int x = r.left; x < r.right; ++x)
        row[x] = blend(row[x], color.red, color.green, color.blue, color.alpha);
}

// Bresenham's line, thickened across its main direction: a mostly horizontal line gets a
// column of lineWidth pixels at each x, a mostly vertical one a row at each y, so no pixel
// of one line is blended twice.
void CDrawContext::drawLine(const CPoint& start, const CPoint& end)
{
    int x = static_cast<int>(std::lround(start.x));
    int y = static_cast<int>(std::lround(start.y));
    const int x1 = static_cast<int>(std::lround(end.x));
    const int y1 = static_cast<int>(std::lround(end.y));
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int stepX = x < x1 ? 1 : -1;
    const int stepY = y < y1 ? 1 : -1;
    const bool steep = -dy > dx;
    const int width = std::max(1, static_cast<int>(std::lround(lineWidth)));
    const int before = (width - 1) / 2;
    int error = dx + dy;
    for (;;)
    {
        if (steep)
            blendSpan(y, x - before, x - before + width, frameColor);
        else
            for (int k = 0; k < width; ++k)
                blendSpan(y - before + k, x, x + 1, frameColor);
        if (x == x1 && y == y1)
            break;
        const int twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            x += stepX;
        }
        if (twice <= dx)
        {
            error += dx;
            y += stepY;
        }
    }
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style)
{
    const int left = static_cast<int>(std::lround(rect.left));
    const int top = static_cast<int>(std::lround(rect.top));
    const int right = static_cast<int>(std::lround(rect.right));
    const int bottom = static_cast<int>(std::lround(rect.bottom));
    if (right <= left || bottom <= top)
        return;
    if (style != kDrawStroked)
        for (int y = top; y < bottom; ++y)
            blendSpan(y, left, right, fillColor);
    if (style != kDrawFilled)
    {
        blendSpan(top, left, right, frameColor);
        if (bottom - 1 > top)
            blendSpan(bottom - 1, left, right, frameColor);
        for (int y = top + 1; y < bottom - 1; ++y)
        {
            blendSpan(y, left, left + 1, frameColor);
            if (right - 1 > left)
                blendSpan(y, right - 1, right, frameColor);
        }
    }
}

void CDrawContext::drawBitmap(const CBitmap* bitmap, const CRect& dest, const CPoint& offset,
                              float alpha)
{
    if (!bitmap || !bitmap->isLoaded() || !(alpha > 0.0f))
        return;
    const PixelBuffer& src = bitmap->pixels();
    const int destLeft = static_cast<int>(std::lround(dest.left));
    const int destTop = static_cast<int>(std::lround(dest.top));
    const int srcX = static_cast<int>(std::lround(offset.x));
    const int srcY = static_cast<int>(std::lround(offset.y));
    // Only the part of dest the image covers.
    CRect covered(destLeft - srcX, destTop - srcY, destLeft - srcX + src.width,
                  destTop - srcY + src.height);
    covered.bound(dest);
    const IntRect r = clipped(covered);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const int dx = srcX - destLeft;
    const int dy = srcY - destTop;
    const std::uint32_t global =
        alpha >= 1.0f ? 255u : static_cast<std::uint32_t>(alpha * 255.0f + 0.5f);
    const auto count = static_cast<std::size_t>(r.right - r.left);
    for (int y = r.top; y < r.bottom; ++y)
    {
        const std::uint32_t* s = src.row(y + dy) + (r.left + dx);
        std::uint32_t* d = target.row(y) + r.left;
        if (global == 255u && bitmap->isOpaque())
        {
            std::memcpy(d, s, count * sizeof(std::uint32_t));
            continue;
        }
        for (std::size_t i = 0; i < count; ++i)
        {
            const std::uint32_t p = s[i];
            std::uint32_t a = p >> 24;
            if (global != 255u)
            {
                const std::uint32_t t = a * global + 128;
                a = (t + (t >> 8)) >> 8;
            }
            if (a == 255u)
                d[i] = p;
            else if (a != 0u)
                d[i] = blend(d[i], (p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, a);
        }
    }
}

CCoord CDrawContext::getStringWidth(const char* utf8)
{
    if (!utf8)
        return 0;
    const auto size = static_cast<float>(font.getSize());
    float width = 0;
    char32_t previous = 0;
    for (const char* p = utf8; *p;)
    {
        const char32_t c = gui::nextCodepoint(p);
        if (previous)
            width += gui::kerning(previous, c, size);
        width += gui::glyphFor(c, size).advance;
        previous = c;
    }
    return std::round(width);
}

void CDrawContext::drawString(const char* utf8, const CPoint& baseline, bool antialias)
{
    if (!utf8)
        return;
    const auto size = static_cast<float>(font.getSize());
    const IntRect clip = clipped(clipRect);
    float pen = static_cast<float>(baseline.x);
    const int baseY = static_cast<int>(std::lround(baseline.y));
    char32_t previous = 0;
    for (const char* p = utf8; *p;)
    {
        const char32_t c = gui::nextCodepoint(p);
        if (previous)
            pen += gui::kerning(previous, c, size);
        const gui::Glyph& glyph = gui::glyphFor(c, size);
        const int gx = static_cast<int>(std::lround(pen)) + glyph.offsetX;
        const int gy = baseY + glyph.offsetY;
        for (int row = 0; row < glyph.height; ++row)
        {
            const int y = gy + row;
            if (y < clip.top || y >= clip.bottom)
                continue;
            std::uint32_t* d = target.row(y);
            const std::uint8_t* cov =
                glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
            for (int col = 0; col < glyph.width; ++col)
            {
                const int x = gx + col;
                if (x < clip.left || x >= clip.right)
                    continue;
                std::uint32_t a = cov[col];
                if (!antialias)
                    a = a >= 128 ? 255u : 0u;
                const std::uint32_t t = a * fontColor.alpha + 128;
                a = (t + (t >> 8)) >> 8;
                if (a)
                    d[x] = blend(d[x], fontColor.red, fontColor.green, fontColor.blue, a);
            }
        }
        pen += glyph.advance;
        previous = c;
    }
}

void CDrawContext::drawString(const char* utf8, const CRect& rect, CHoriTxtAlign align,
                              bool antialias)
{
    if (!utf8 || !*utf8)
        return;
    const CRect savedClip = clipRect;
    CRect clip = rect;
    clip.bound(savedClip);
    clipRect = clip;
    const auto metrics = gui::fontMetrics(static_cast<float>(font.getSize()));
    const CCoord width = getStringWidth(utf8);
    CCoord x = rect.left;
    if (align == kCenterText)
        x = std::round(rect.left + (rect.getWidth() - width) / 2);
    else if (align == kRightText)
        x = rect.right - width;
    const CCoord y =
        std::round(rect.top + (rect.getHeight() + metrics.ascent + metrics.descent) / 2);
    drawString(utf8, CPoint(x, y), antialias);
    clipRect = savedClip;
}
