// Glyphs of the embedded font, rendered once per size and kept for the life of the
// process. User-interface thread only.
#pragma once

#include <cstdint>
#include <vector>

namespace gui
{
struct Glyph
{
    int width = 0;
    int height = 0;
    int offsetX = 0; // from the pen position to the bitmap's left edge
    int offsetY = 0; // from the baseline to the bitmap's top edge (negative is up)
    float advance = 0;
    std::vector<std::uint8_t> coverage;
};

struct FontMetrics
{
    float ascent = 0;  // above the baseline, in pixels
    float descent = 0; // below, negative
};

const Glyph& glyphFor(char32_t codepoint, float pixelSize);
float kerning(char32_t left, char32_t right, float pixelSize);
FontMetrics fontMetrics(float pixelSize);
// Decodes one UTF-8 sequence starting at text, advancing it; malformed bytes give U+FFFD.
char32_t nextCodepoint(const char*& text) noexcept;
} // namespace gui
