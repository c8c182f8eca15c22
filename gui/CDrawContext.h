// Drawing into a pixel buffer: bitmaps or parts of them with alpha, filled and framed
// rectangles, and text. Everything is clipped to the clip rectangle and done in integer
// arithmetic, so the same calls give the same pixels on every machine.
#pragma once

#include "gui/CBitmap.h"
#include "gui/CFont.h"
#include "gui/CGraphics.h"
#include "gui/PixelBuffer.h"

class CDrawContext
{
public:
    explicit CDrawContext(PixelBuffer& target);

    PixelBuffer& getBuffer() noexcept { return target; }
    void setClipRect(const CRect& clip);
    const CRect& getClipRect() const noexcept { return clipRect; }
    void resetClipRect();

    void setFillColor(const CColor& color) noexcept { fillColor = color; }
    void setFrameColor(const CColor& color) noexcept { frameColor = color; }
    void setFontColor(const CColor& color) noexcept { fontColor = color; }
    CColor getFillColor() const noexcept { return fillColor; }
    CColor getFrameColor() const noexcept { return frameColor; }
    CColor getFontColor() const noexcept { return fontColor; }
    // Size 0 keeps the font's size; style -1 keeps its style.
    void setFont(const CFontDesc* font, CCoord size = 0, std::int32_t style = -1);
    const CFontDesc& getFont() const noexcept { return font; }

    // Lines are drawn in the frame colour, lineWidth pixels across; both end pixels are
    // part of the line.
    void setLineWidth(CCoord width) noexcept { lineWidth = width; }
    CCoord getLineWidth() const noexcept { return lineWidth; }
    void drawLine(const CPoint& start, const CPoint& end);
    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void fillRect(const CRect& rect) { drawRect(rect, kDrawFilled); }
    void frameRect(const CRect& rect) { drawRect(rect, kDrawStroked); }
    void drawBitmap(const CBitmap* bitmap, const CRect& dest, const CPoint& offset = {},
                    float alpha = 1.0f);
    // UTF-8 text, vertically centred in rect.
    void drawString(const char* utf8, const CRect& rect, CHoriTxtAlign align = kCenterText,
                    bool antialias = true);
    // At a baseline point.
    void drawString(const char* utf8, const CPoint& baseline, bool antialias = true);
    CCoord getStringWidth(const char* utf8);

private:
    void blendSpan(int y, int x0, int x1, const CColor& color);
    struct IntRect
    {
        int left, top, right, bottom;
    };
    IntRect clipped(const CRect& rect) const;

    PixelBuffer& target;
    CRect clipRect;
    CColor fillColor = kWhiteCColor;
    CColor frameColor = kBlackCColor;
    CColor fontColor = kWhiteCColor;
    CCoord lineWidth = 1;
    CFontDesc font;
};
