#include "gui/FontRenderer.h"

#include "gui/Resources.h"

#include <cmath>
#include <unordered_map>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace gui
{
namespace
{
struct Font
{
    stbtt_fontinfo info{};
    bool valid = false;
    std::unordered_map<std::uint64_t, Glyph> glyphs;

    Font()
    {
        const auto data = embeddedFont();
        valid = !data.empty() && stbtt_InitFont(&info, data.data(), 0) != 0;
    }
};

Font& font()
{
    static Font instance;
    return instance;
}

float scaleFor(Font& f, float pixelSize)
{
    return stbtt_ScaleForMappingEmToPixels(&f.info, pixelSize);
}
} // namespace

const Glyph& glyphFor(char32_t codepoint, float pixelSize)
{
    Font& f = font();
    const auto key = (static_cast<std::uint64_t>(std::lround(pixelSize * 64.0f)) << 32) |
                     static_cast<std::uint64_t>(codepoint);
    auto found = f.glyphs.find(key);
    if (found != f.glyphs.end())
        return found->second;
    Glyph glyph;
    if (f.valid)
    {
        const float scale = scaleFor(f, pixelSize);
        const int index = stbtt_FindGlyphIndex(&f.info, static_cast<int>(codepoint));
        int advance = 0;
        int bearing = 0;
        stbtt_GetGlyphHMetrics(&f.info, index, &advance, &bearing);
        glyph.advance = static_cast<float>(advance) * scale;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetGlyphBitmapBox(&f.info, index, scale, scale, &x0, &y0, &x1, &y1);
        glyph.width = x1 - x0;
        glyph.height = y1 - y0;
        glyph.offsetX = x0;
        glyph.offsetY = y0;
        if (glyph.width > 0 && glyph.height > 0)
        {
            glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
            stbtt_MakeGlyphBitmap(&f.info, glyph.coverage.data(), glyph.width, glyph.height,
                                  glyph.width, scale, scale, index);
        }
    }
    return f.glyphs.emplace(key, std::move(glyph)).first->second;
}

float kerning(char32_t left, char32_t right, float pixelSize)
{
    Font& f = font();
    if (!f.valid)
        return 0;
    return static_cast<float>(stbtt_GetCodepointKernAdvance(&f.info, static_cast<int>(left),
                                                            static_cast<int>(right))) *
           scaleFor(f, pixelSize);
}

FontMetrics fontMetrics(float pixelSize)
{
    Font& f = font();
    if (!f.valid)
        return {};
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &gap);
    const float scale = scaleFor(f, pixelSize);
    return {static_cast<float>(ascent) * scale, static_cast<float>(descent) * scale};
}

char32_t nextCodepoint(const char*& text) noexcept
{
    const auto byte = [&](int i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(0);
    int length = 1;
    char32_t c = 0xfffd;
    if (b0 < 0x80)
        c = b0;
    else if ((b0 & 0xe0) == 0xc0 && (byte(1) & 0xc0) == 0x80)
    {
        c = ((b0 & 0x1fu) << 6) | (byte(1) & 0x3fu);
        length = 2;
    }
    else if ((b0 & 0xf0) == 0xe0 && (byte(1) & 0xc0) == 0x80 && (byte(2) & 0xc0) == 0x80)
    {
        c = ((b0 & 0x0fu) << 12) | ((byte(1) & 0x3fu) << 6) | (byte(2) & 0x3fu);
        length = 3;
    }
    else if ((b0 & 0xf8) == 0xf0 && (byte(1) & 0xc0) == 0x80 && (byte(2) & 0xc0) == 0x80 &&
             (byte(3) & 0xc0) == 0x80)
    {
        c = ((b0 & 0x07u) << 18) | ((byte(1) & 0x3fu) << 12) | ((byte(2) & 0x3fu) << 6) |
            (byte(3) & 0x3fu);
        length = 4;
    }
    text += length;
    return c;
}
} // namespace gui
