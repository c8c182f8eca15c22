#include "gui/controls/CMessageLine.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
// The longest start of text that fits width with "..." after it; the whole text when it fits.
std::string fitted(CDrawContext& context, const std::string& text, CCoord width)
{
    if (context.getStringWidth(text.c_str()) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty())
    {
        // The whole last character, however many bytes it takes.
        unsigned char removed = 0;
        do
        {
            removed = static_cast<unsigned char>(cut.back());
            cut.pop_back();
        } while (!cut.empty() && (removed & 0xc0) == 0x80);
        if (context.getStringWidth((cut + "...").c_str()) <= width)
            return cut + "...";
    }
    return "...";
}
} // namespace

CMessageLine::CMessageLine(const CRect& size) : CParamDisplay(size)
{
    setVisible(false);
}

void CMessageLine::setMessage(std::string text)
{
    message = std::move(text);
    setVisible(!message.empty());
    setDirty(true);
}

void CMessageLine::draw(CDrawContext* context)
{
    drawBack(context);
    context->setFont(&font);
    drawText(context, fitted(*context, message, size.getWidth() - 6).c_str());
    setDirty(false);
}

CMouseEventResult CMessageLine::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    setMessage({});
    return kMouseEventHandled;
}

bool CMessageLine::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CMessageLine") == 0 || CParamDisplay::isTypeOf(type);
}
