#include "gui/controls/CTextEdit.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/Utf8.h"

#include <cmath>
#include <cstring>

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

void CTextEdit::draw(CDrawContext* context)
{
    if (!(style & kNoDrawStyle))
    {
        drawBack(context);
        drawText(context, editingText ? editText.c_str() : text.c_str());
        if (editingText)
        {
            // The caret: a one-pixel line after the typed text up to the caret.
            context->setFont(&font);
            const CCoord full = context->getStringWidth(editText.c_str());
            const CCoord before = context->getStringWidth(editText.substr(0, caret).c_str());
            CCoord x = size.left + 2;
            if (horiAlign == kCenterText)
                x = std::round(size.left + (size.getWidth() - full) / 2);
            else if (horiAlign == kRightText)
                x = size.right - 2 - full;
            x += before;
            context->setFillColor(fontColor);
            context->fillRect(CRect(x, size.top + 2, x + 1, size.bottom - 2));
        }
    }
    setDirty(false);
}

std::size_t CTextEdit::caretAt(const CPoint& where) const
{
    // The boundary whose x is nearest to the click.
    PixelBuffer scratch(1, 1);
    CDrawContext measure(scratch);
    measure.setFont(&font);
    const CCoord full = measure.getStringWidth(editText.c_str());
    CCoord x0 = size.left + 2;
    if (horiAlign == kCenterText)
        x0 = std::round(size.left + (size.getWidth() - full) / 2);
    else if (horiAlign == kRightText)
        x0 = size.right - 2 - full;
    std::size_t best = 0;
    CCoord bestDistance = std::abs(where.x - x0);
    for (std::size_t at = gui::nextCharacterStart(editText, 0); at <= editText.size() && at > 0;
         at = at == editText.size() ? 0 : gui::nextCharacterStart(editText, at))
    {
        const CCoord x = x0 + measure.getStringWidth(editText.substr(0, at).c_str());
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
        caret = caretAt(where);
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
    caret = editText.size();
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
        if (caret > 0)
        {
            const std::size_t from = gui::previousCharacterStart(editText, caret);
            editText.erase(from, caret - from);
            caret = from;
        }
        break;
    case VKEY_DELETE:
        if (caret < editText.size())
            editText.erase(caret, gui::nextCharacterStart(editText, caret) - caret);
        break;
    case VKEY_LEFT: caret = gui::previousCharacterStart(editText, caret); break;
    case VKEY_RIGHT: caret = gui::nextCharacterStart(editText, caret); break;
    case VKEY_HOME:
    case VKEY_UP: caret = 0; break;
    case VKEY_END:
    case VKEY_DOWN: caret = editText.size(); break;
    case VKEY_SPACE:
        editText.insert(caret, 1, ' ');
        ++caret;
        break;
    case 0:
        if (key.character >= 0x20 && key.character != 0x7f &&
            !(key.modifier & (kKeyCommand | kKeyControl)))
        {
            std::string encoded;
            gui::appendUtf8(encoded, static_cast<char32_t>(key.character));
            editText.insert(caret, encoded);
            caret += encoded.size();
            break;
        }
        return -1;
    default: return -1;
    }
    invalid();
    return 1;
}

bool CTextEdit::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CTextEdit") == 0 || CParamDisplay::isTypeOf(type);
}
