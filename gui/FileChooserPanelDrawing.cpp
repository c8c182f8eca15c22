// How the file chooser panel looks: light, with the editor's font, and the selection and
// the default buttons in one accent colour.
#include "gui/CDrawContext.h"
#include "gui/FileChooserPanel.h"
#include "gui/Utf8.h"

#include <algorithm>
#include <cmath>

namespace gui
{
namespace
{
constexpr CColor kPanelColor{236, 236, 236, 255};
constexpr CColor kTextColor{24, 24, 24, 255};
constexpr CColor kBorderColor{150, 150, 150, 255};
constexpr CColor kAccentColor{48, 96, 160, 255};
constexpr CColor kQuietSelectionColor{202, 214, 232, 255}; // the list's, while typing a name
constexpr CColor kButtonColor{250, 250, 250, 255};
constexpr CColor kPressedButtonColor{205, 205, 205, 255};
constexpr CColor kMessageColor{176, 32, 32, 255};
constexpr CColor kFolderColor{214, 170, 72, 255};
constexpr CColor kScrollThumbColor{170, 170, 170, 255};
constexpr CColor kVeilColor{0, 0, 0, 80};
constexpr const char* kEllipsis = "\xe2\x80\xa6";

// The text, shortened with an ellipsis at its start (keepEnd) or its end until it fits.
std::string fitted(CDrawContext& context, const std::string& text, CCoord width, bool keepEnd)
{
    if (context.getStringWidth(text.c_str()) <= width)
        return text;
    std::string rest = text;
    while (!rest.empty())
    {
        rest = keepEnd ? rest.substr(nextCharacterStart(rest, 0))
                       : rest.substr(0, previousCharacterStart(rest, rest.size()));
        const std::string candidate = keepEnd ? kEllipsis + rest : rest + kEllipsis;
        if (context.getStringWidth(candidate.c_str()) <= width)
            return candidate;
    }
    return kEllipsis;
}

CRect inset(const CRect& rect, CCoord dx, CCoord dy)
{
    return CRect(rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy);
}

// Draws within rect only, on top of what the context already clips to.
class ClipScope
{
public:
    ClipScope(CDrawContext& context, const CRect& rect)
        : context(context), saved(context.getClipRect())
    {
        CRect clip = rect;
        clip.bound(saved);
        context.setClipRect(clip);
    }
    ~ClipScope() { context.setClipRect(saved); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    CDrawContext& context;
    CRect saved;
};

void drawFolderIcon(CDrawContext& context, CCoord x, CCoord middle)
{
    context.setFillColor(kFolderColor);
    context.fillRect(CRect(x, middle - 6, x + 6, middle - 4));
    context.fillRect(CRect(x, middle - 4, x + 14, middle + 6));
}

void drawFileIcon(CDrawContext& context, CCoord x, CCoord middle)
{
    const CRect page(x + 2, middle - 6, x + 12, middle + 7);
    context.setFillColor(kButtonColor);
    context.fillRect(page);
    context.setFrameColor(kBorderColor);
    context.frameRect(page);
}
} // namespace

void FileChooserPanel::draw(CDrawContext& context)
{
    context.setFont(kNormalFont);
    if (!questionOnly)
        drawBrowser(context);
    if (replacing)
        drawQuestion(context);
    dirty = CRect();
}

void FileChooserPanel::drawBrowser(CDrawContext& context)
{
    context.setFillColor(kPanelColor);
    context.fillRect(CRect(0, 0, size.x, size.y));
    context.setFontColor(kTextColor);
    context.drawString(fitted(context, folder.string(), pathRect.getWidth(), true).c_str(),
                       pathRect, kLeftText);
    drawList(context);
    if (request.save)
    {
        context.setFontColor(kTextColor);
        context.drawString("Name:", nameLabelRect, kLeftText);
        drawNameField(context);
    }
    if (!message.empty())
    {
        context.setFontColor(kMessageColor);
        context.drawString(fitted(context, message, messageRect.getWidth(), false).c_str(),
                           messageRect, kLeftText);
    }
    drawButton(context, Button::cancel, cancelRect, "Cancel", false);
    drawButton(context, Button::accept, acceptRect, request.save ? "Save" : "Open", true);
}

void FileChooserPanel::drawList(CDrawContext& context)
{
    context.setFillColor(kWhiteCColor);
    context.fillRect(listRect);
    context.setFrameColor(focus == Focus::list ? kAccentColor : kBorderColor);
    context.frameRect(listRect);
    const auto count = static_cast<int>(entries.size());
    for (int i = firstVisible; i < std::min(count, firstVisible + visibleRows); ++i)
    {
        const Entry& entry = entries[static_cast<std::size_t>(i)];
        const CRect row = getEntryRect(i);
        const bool strong = i == selected && focus == Focus::list;
        if (i == selected)
        {
            context.setFillColor(strong ? kAccentColor : kQuietSelectionColor);
            context.fillRect(row);
        }
        const CCoord middle = std::round((row.top + row.bottom) / 2);
        if (entry.kind == Kind::file)
            drawFileIcon(context, row.left + 6, middle);
        else
            drawFolderIcon(context, row.left + 6, middle);
        const CRect text(row.left + kTextIndent, row.top, row.right - 4, row.bottom);
        context.setFontColor(strong ? kWhiteCColor : kTextColor);
        context.drawString(fitted(context, entry.name, text.getWidth(), false).c_str(), text,
                           kLeftText);
    }
    if (count > visibleRows)
    {
        const CRect track(listRect.right - 1 - kScrollBarWidth, listRect.top + 1,
                          listRect.right - 1, listRect.bottom - 1);
        const CCoord thumbHeight =
            std::max(CCoord(16), std::round(track.getHeight() * visibleRows / count));
        const CCoord top = std::round(track.top + (track.getHeight() - thumbHeight) * firstVisible /
                                                      (count - visibleRows));
        context.setFillColor(kScrollThumbColor);
        context.fillRect(CRect(track.left + 1, top, track.right - 1, top + thumbHeight));
    }
}

void FileChooserPanel::drawNameField(CDrawContext& context)
{
    context.setFillColor(kWhiteCColor);
    context.fillRect(nameRect);
    context.setFrameColor(focus == Focus::name ? kAccentColor : kBorderColor);
    context.frameRect(nameRect);
    const CRect inner = inset(nameRect, kFieldPadding, 1);
    // Scrolled so that the caret stays in view.
    const CCoord full = context.getStringWidth(name.c_str());
    const CCoord beforeCaret = context.getStringWidth(name.substr(0, caret).c_str());
    const CCoord room = inner.getWidth() - 1;
    nameScroll = std::clamp(nameScroll, std::max(CCoord(0), beforeCaret - room), beforeCaret);
    nameScroll = std::min(nameScroll, std::max(CCoord(0), full - room));
    ClipScope clip(context, inner);
    const CCoord x = inner.left - nameScroll;
    context.setFontColor(kTextColor);
    context.drawString(name.c_str(), CRect(x, inner.top, x + full + 1, inner.bottom), kLeftText);
    if (focus == Focus::name)
    {
        context.setFillColor(kTextColor);
        context.fillRect(
            CRect(x + beforeCaret, inner.top + 3, x + beforeCaret + 1, inner.bottom - 3));
    }
}

void FileChooserPanel::drawQuestion(CDrawContext& context)
{
    if (questionOnly)
    {
        context.setFillColor(kPanelColor);
        context.fillRect(questionRect);
    }
    else
    {
        context.setFillColor(kVeilColor); // the browser behind waits for the answer
        context.fillRect(CRect(0, 0, size.x, size.y));
        context.setFillColor(kPanelColor);
        context.setFrameColor(kBorderColor);
        context.drawRect(questionRect, kDrawFilledAndStroked);
    }
    const CRect text(questionRect.left + 2 * kMargin, questionRect.top + 14,
                     questionRect.right - 2 * kMargin, questionRect.top + 34);
    context.setFontColor(kTextColor);
    context.setFont(kNormalFontBig);
    const std::string fileName = replacing->filename().string();
    const std::string headline =
        "Replace '" + fitted(context, fileName, text.getWidth() - 80, false) + "'?";
    context.drawString(headline.c_str(), text, kLeftText);
    context.setFont(kNormalFont);
    CRect detail = text;
    detail.offset(0, 22);
    context.drawString("A file of that name is already in this folder.", detail, kLeftText);
    drawButton(context, Button::keep, keepRect, "Cancel", false);
    drawButton(context, Button::replace, replaceRect, "Replace", true);
}

void FileChooserPanel::drawButton(CDrawContext& context, Button button, const CRect& rect,
                                  const char* label, bool isDefault) const
{
    context.setFillColor(pressed == button ? kPressedButtonColor : kButtonColor);
    context.setFrameColor(isDefault ? kAccentColor : kBorderColor);
    context.drawRect(rect, kDrawFilledAndStroked);
    if (isDefault) // Return's button, framed twice
        context.frameRect(inset(rect, 1, 1));
    context.setFontColor(kTextColor);
    context.drawString(label, rect, kCenterText);
}
} // namespace gui
