// Font descriptions. Every name draws with the embedded Liberation Sans, which has the
// metrics of Arial, the face the standard fonts name.
#pragma once

#include "gui/CGraphics.h"

#include <string>

enum CTxtFace
{
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
    kUnderlineFace = 1 << 3,
};

class CFontDesc
{
public:
    CFontDesc(const char* name = "Arial", CCoord size = 12, std::int32_t style = 0)
        : name(name), size(size), style(style)
    {
    }
    const std::string& getName() const noexcept { return name; }
    CCoord getSize() const noexcept { return size; }
    std::int32_t getStyle() const noexcept { return style; }
    void setSize(CCoord newSize) noexcept { size = newSize; }
    void setStyle(std::int32_t newStyle) noexcept { style = newStyle; }

private:
    std::string name;
    CCoord size;
    std::int32_t style;
};

using CFontRef = CFontDesc*;

// The standard fonts: "Arial" at 18, 14, 12, 11, 10 and 9 pixels.
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;
