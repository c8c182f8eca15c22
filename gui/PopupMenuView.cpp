#include "gui/PopupMenuView.h"

#include "gui/CDrawContext.h"

#include <algorithm>

PopupMenuView::PopupMenuView(PopupMenuRequest menu)
    : request(std::move(menu)), count(static_cast<int>(request.items.size()))
{
    perColumn = request.itemsPerColumn > 0 ? std::min(request.itemsPerColumn, count) : count;
    perColumn = std::max(perColumn, 1);
    const int columns = (count + perColumn - 1) / perColumn;
    PixelBuffer measureBuffer(1, 1);
    CDrawContext measure(measureBuffer);
    measure.setFont(kNormalFont);
    for (const auto& item : request.items)
        columnWidth =
            std::max(columnWidth, static_cast<int>(measure.getStringWidth(item.title.c_str())) +
                                      kCheckWidth + 12);
    menuWidth = columns * columnWidth;
    menuHeight = perColumn * kRowHeight;
}

bool PopupMenuView::contains(int x, int y) const noexcept
{
    return x >= 0 && y >= 0 && x < menuWidth && y < menuHeight;
}

int PopupMenuView::itemAt(int x, int y) const noexcept
{
    if (!contains(x, y))
        return -1;
    const int index = (x / columnWidth) * perColumn + y / kRowHeight;
    if (index >= count || request.items[static_cast<std::size_t>(index)].separator ||
        !request.items[static_cast<std::size_t>(index)].enabled)
        return -1;
    return index;
}

bool PopupMenuView::setHighlighted(int index) noexcept
{
    if (index == highlighted)
        return false;
    highlighted = index;
    return true;
}

void PopupMenuView::walk(bool down) noexcept
{
    int next = highlighted;
    for (int step = 0; step < count; ++step)
    {
        next = (next + (down ? 1 : count - 1)) % count;
        if (itemAt((next / perColumn) * columnWidth, (next % perColumn) * kRowHeight) >= 0)
            break;
    }
    highlighted = next;
}

void PopupMenuView::paint(PixelBuffer& pixels) const
{
    CDrawContext context(pixels);
    context.setFillColor(CColor{240, 240, 240, 255});
    context.fillRect(CRect(0, 0, menuWidth, menuHeight));
    context.setFont(kNormalFont);
    for (int i = 0; i < count; ++i)
    {
        const auto& item = request.items[static_cast<std::size_t>(i)];
        const CCoord x = (i / perColumn) * columnWidth;
        const CCoord y = (i % perColumn) * kRowHeight;
        const CRect row(x, y, x + columnWidth, y + kRowHeight);
        if (item.separator)
        {
            context.setFillColor(CColor{160, 160, 160, 255});
            context.fillRect(
                CRect(x + 4, y + kRowHeight / 2, x + columnWidth - 4, y + kRowHeight / 2 + 1));
            continue;
        }
        if (i == highlighted)
        {
            context.setFillColor(CColor{48, 96, 160, 255});
            context.fillRect(row);
        }
        const CColor text = i == highlighted ? kWhiteCColor
                            : item.enabled   ? kBlackCColor
                                             : CColor{128, 128, 128, 255};
        context.setFontColor(text);
        if (item.checked)
        {
            // A tick of two strokes: the font has no check-mark glyph.
            const CPoint corner(x + 7, y + 11);
            context.setFrameColor(text);
            context.setLineWidth(2);
            context.drawLine(CPoint(x + 4, y + 8), corner);
            context.drawLine(corner, CPoint(x + 12, y + 4));
        }
        context.drawString(item.title.c_str(),
                           CRect(x + kCheckWidth + 2, y, x + columnWidth, y + kRowHeight),
                           kLeftText);
    }
    context.setFrameColor(CColor{100, 100, 100, 255});
    context.frameRect(CRect(0, 0, menuWidth, menuHeight));
}
