// Shows the value as text: through a value-to-text procedure when one is set, else with
// two decimals; over the part of the background bitmap under it, or the back colour.
#pragma once

#include "gui/CControl.h"
#include "gui/CFont.h"

#include <string>

// utf8String has room for 256 bytes; answers false when it wrote nothing.
using CParamDisplayValueToStringProc = bool (*)(float value, char utf8String[256], void* userData);

inline constexpr std::int32_t k3DIn = 1 << 1;
inline constexpr std::int32_t k3DOut = 1 << 2;
inline constexpr std::int32_t kNoTextStyle = 1 << 3;
inline constexpr std::int32_t kNoDrawStyle = 1 << 4;
inline constexpr std::int32_t kNoFrame = 1 << 6;
inline constexpr std::int32_t kTransparentStyle = 1 << 7; // no back colour behind the text

class CParamDisplay : public CControl
{
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, std::int32_t style = 0);

    void setValueToStringProc(CParamDisplayValueToStringProc proc, void* userData = nullptr)
    {
        valueToString = proc;
        valueToStringUserData = userData;
        setDirty(true);
    }
    void setFont(const CFontDesc* newFont);
    const CFontDesc& getFont() const noexcept { return font; }
    void setFontColor(const CColor& color) { fontColor = color, setDirty(true); }
    void setBackColor(const CColor& color) { backColor = color, setDirty(true); }
    void setFrameColor(const CColor& color) { frameColor = color, setDirty(true); }
    CColor getFontColor() const noexcept { return fontColor; }
    CColor getBackColor() const noexcept { return backColor; }
    CColor getFrameColor() const noexcept { return frameColor; }
    void setHoriAlign(CHoriTxtAlign align) { horiAlign = align, setDirty(true); }
    CHoriTxtAlign getHoriAlign() const noexcept { return horiAlign; }
    void setStyle(std::int32_t val) { style = val, setDirty(true); }
    std::int32_t getStyle() const noexcept { return style; }
    void setAntialias(bool state) { antialias = state, setDirty(true); }

    // The text the display shows for its current value.
    std::string getDisplayText() const;

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CParamDisplay(*this); }

protected:
    void drawBack(CDrawContext* context);
    void drawText(CDrawContext* context, const char* text);

    CParamDisplayValueToStringProc valueToString = nullptr;
    void* valueToStringUserData = nullptr;
    CFontDesc font;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    std::int32_t style;
    bool antialias = true;
};
