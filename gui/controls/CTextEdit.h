// A one-line text field. A click starts editing (the field takes the keyboard focus);
// characters insert at the caret, Backspace and Delete remove, the arrows, Home and End
// move; Enter commits, Escape restores the old text; losing the focus commits. A commit
// tells the listener once, as one edit gesture.
#pragma once

#include "gui/controls/CParamDisplay.h"

#include <string>

class CTextEdit : public CParamDisplay
{
public:
    CTextEdit(const CRect& size, CControlListener* listener, std::int32_t tag,
              const char* text = nullptr, CBitmap* background = nullptr, std::int32_t style = 0);

    void setText(const char* text);
    const char* getText() const noexcept { return text.c_str(); }
    bool isEditing() const noexcept { return editingText; }
    // While editing: the text being typed and the caret, in bytes from the start.
    const std::string& getEditText() const noexcept { return editText; }
    std::size_t getCaret() const noexcept { return caret; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    std::int32_t onKeyDown(CKeyCode& key) override;
    void takeFocus() override;
    void looseFocus() override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CTextEdit(*this); }

private:
    void commit();
    void stopEditing();
    std::size_t caretAt(const CPoint& where) const;

    std::string text;
    std::string editText;
    std::size_t caret = 0;
    bool editingText = false;
};
