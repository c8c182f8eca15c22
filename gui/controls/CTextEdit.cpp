#include "gui/controls/CTextEdit.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// Text keeps this far from the field's edges, inside its one-pixel frame.
constexpr CCoord kTextMargin = 2;
} // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, std::int32_t tag,
                     const char* initial, CBitmap* background, std::int32_t style)
    : CParamDisplay(size, background, style)
{
    setListener(listener);
    setTag(tag);
    setText(initial);
}

void CTextEdit::setText(const char* newText)
{
    text = newText ? newText : "";
    setDirty(true);
}

CCoord CTextEdit::widthOf(const std::string& utf8) const
{
    PixelBuffer scratch(1, 1);
    CDrawContext measure(scratch);
    measure.setFont(&font);
    return measure.getStringWidth(utf8.c_str());
}

CCoord CTextEdit::textStart(CCoord width) const
{
    // Too wide for the field: its start shows, or while editing the part round the caret.
    if (width > size.getWidth() - 2 * kTextMargin)
        return size.left + kTextMargin - (editingText ? scroll : 0);
    if (horiAlign == kCenterText)
        return std::round(size.left + (size.getWidth() - width) / 2);
    if (horiAlign == kRightText)
        return size.right - kTextMargin - width;
    return size.left + kTextMargin;
}

void CTextEdit::keepCaretVisible()
{
    // Room for the text and the one-pixel caret after its last character.
    const CCoord room = size.getWidth() - 2 * kTextMargin - 1;
    const CCoord caretX = widthOf(editText.substr(0, caret));
    const CCoord maxScroll = std::max<CCoord>(widthOf(editText) - room, 0);
    if (caretX - scroll > room)
        scroll = caretX - room;
    if (caretX < scroll)
        scroll = caretX;
    scroll = std::clamp<CCoord>(scroll, 0, maxScroll);
}

void CTextEdit::draw(CDrawContext* context)
{
    if (style & kNoDrawStyle)
    {
        setDirty(false);
        return;
    }
    drawBack(context);
    if (!(style & kNoTextStyle))
    {
        // Inside the field (and its frame) only, whatever the text's width.
        const CRect savedClip = context->getClipRect();
        const CCoord frameWidth = (style & kNoFrame) ? 0 : 1;
        CRect inside(size.left + frameWidth, size.top + frameWidth, size.right - frameWidth,
                     size.bottom - frameWidth);
        inside.bound(savedClip);
        context->setClipRect(inside);

        const std::string& shown = editingText ? editText : text;
        context->setFont(&font);
        context->setFontColor(fontColor);
        const CCoord width = context->getStringWidth(shown.c_str());
        const CCoord x = textStart(width);
        const CRect line(x, size.top, x + width, size.bottom);
        context->drawString(shown.c_str(), line, kLeftText, antialias);
        if (editingText)
        {
            const std::size_t from = std::min(anchor, caret);
            const std::size_t to = std::max(anchor, caret);
            const CCoord x0 = x + context->getStringWidth(shown.substr(0, from).c_str());
            const CCoord x1 = x + context->getStringWidth(shown.substr(0, to).c_str());
            context->setFillColor(fontColor);
            if (from == to) // the caret: a one-pixel line
                context->fillRect(CRect(x0, size.top + 2, x0 + 1, size.bottom - 2));
            else
            {
                // The selection: the text inverted.
                CRect selection(x0, size.top + 2, x1, size.bottom - 2);
                context->fillRect(selection);
                context->setClipRect(selection.bound(inside));
                context->setFontColor(backColor);
                context->drawString(shown.c_str(), line, kLeftText, antialias);
            }
        }
        context->setClipRect(savedClip);
    }
    setDirty(false);
}

std::size_t CTextEdit::caretAt(const CPoint& where) const
{
    // The boundary whose x is nearest to the click.
    const CCoord x0 = textStart(widthOf(editText));
    std::size_t best = 0;
    CCoord bestDistance = std::abs(where.x - x0);
    for (std::size_t at = gui::nextCharacterStart(editText, 0); at <= editText.size() && at > 0;
         at = at == editText.size() ? 0 : gui::nextCharacterStart(editText, at))
    {
        const CCoord x = x0 + widthOf(editText.substr(0, at));
        if (std::abs(where.x - x) < bestDistance)
        {
            bestDistance = std::abs(where.x - x);
            best = at;
        }
    }
    return best;
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (!editingText)
    {
        if (frame)
            frame->setFocusView(this);
        else
            takeFocus();
    }
    else
    {
        caret = anchor = caretAt(where);
        keepCaretVisible();
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus()
{
    if (editingText)
        return;
    editingText = true;
    editText = text;
    // All selected: typing replaces the name, an arrow key keeps it.
    anchor = 0;
    caret = editText.size();
    scroll = 0;
    keepCaretVisible();
    invalid();
}

void CTextEdit::looseFocus()
{
    if (editingText)
        commit();
}

void CTextEdit::stopEditing()
{
    editingText = false;
    invalid();
    if (frame && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
}

void CTextEdit::eraseSelection()
{
    const std::size_t from = std::min(anchor, caret);
    editText.erase(from, std::max(anchor, caret) - from);
    caret = anchor = from;
}

void CTextEdit::commit()
{
    text = editText;
    stopEditing();
    beginEdit();
    valueChanged();
    endEdit();
}

std::int32_t CTextEdit::onKeyDown(CKeyCode& key)
{
    if (!editingText)
        return -1;
    switch (key.virt)
    {
    case VKEY_RETURN:
    case VKEY_ENTER: commit(); return 1;
    case VKEY_ESCAPE: stopEditing(); return 1;
    case VKEY_BACK:
        if (hasSelection())
            eraseSelection();
        else if (caret > 0)
        {
            const std::size_t from = gui::previousCharacterStart(editText, caret);
            editText.erase(from, caret - from);
            caret = from;
        }
        break;
    case VKEY_DELETE:
        if (hasSelection())
            eraseSelection();
        else if (caret < editText.size())
            editText.erase(caret, gui::nextCharacterStart(editText, caret) - caret);
        break;
    // With a selection, Left and Right go to its start and end.
    case VKEY_LEFT:
        caret =
            hasSelection() ? std::min(anchor, caret) : gui::previousCharacterStart(editText, caret);
        break;
    case VKEY_RIGHT:
        caret = hasSelection() ? std::max(anchor, caret) : gui::nextCharacterStart(editText, caret);
        break;
    case VKEY_HOME:
    case VKEY_UP: caret = 0; break;
    case VKEY_END:
    case VKEY_DOWN: caret = editText.size(); break;
    case VKEY_SPACE: insert(" "); break;
    case 0:
        if (key.character >= 0x20 && key.character != 0x7f &&
            !(key.modifier & (kKeyCommand | kKeyControl)))
        {
            std::string encoded;
            gui::appendUtf8(encoded, static_cast<char32_t>(key.character));
            insert(encoded);
            break;
        }
        return -1;
    default: return -1;
    }
    anchor = caret;
    keepCaretVisible();
    invalid();
    return 1;
}

void CTextEdit::insert(const std::string& typed)
{
    eraseSelection();
    editText.insert(caret, typed);
    caret += typed.size();
}

bool CTextEdit::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CTextEdit") == 0 || CParamDisplay::isTypeOf(type);
}
