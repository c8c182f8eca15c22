#include "gui/controls/CParamDisplay.h"

#include "gui/CDrawContext.h"

#include <cstdio>
#include <cstring>

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, std::int32_t style)
    : CControl(size, nullptr, 0, background), font(*kNormalFont), style(style)
{
    setMouseEnabled(true);
}

void CParamDisplay::setFont(const CFontDesc* newFont)
{
    if (newFont)
        font = *newFont;
    setDirty(true);
}

std::string CParamDisplay::getDisplayText() const
{
    char text[256] = {};
    if (valueToString)
    {
        if (!valueToString(getValue(), text, valueToStringUserData))
            text[0] = 0;
        text[255] = 0;
    }
    else
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(getValue()));
    return text;
}

void CParamDisplay::drawBack(CDrawContext* context)
{
    if (background)
        context->drawBitmap(background, size, backOffset);
    else if (!(style & kTransparentStyle))
    {
        context->setFillColor(backColor);
        context->fillRect(size);
    }
    if (!(style & kNoFrame))
    {
        context->setFrameColor(frameColor);
        context->frameRect(size);
    }
}

void CParamDisplay::drawText(CDrawContext* context, const char* text)
{
    if (style & kNoTextStyle)
        return;
    context->setFont(&font);
    context->setFontColor(fontColor);
    CRect textRect = size;
    if (horiAlign == kLeftText)
        textRect.left += 2;
    else if (horiAlign == kRightText)
        textRect.right -= 2;
    context->drawString(text, textRect, horiAlign, antialias);
}

void CParamDisplay::draw(CDrawContext* context)
{
    if (!(style & kNoDrawStyle))
    {
        drawBack(context);
        drawText(context, getDisplayText().c_str());
    }
    setDirty(false);
}

bool CParamDisplay::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CParamDisplay") == 0 || CControl::isTypeOf(type);
}
