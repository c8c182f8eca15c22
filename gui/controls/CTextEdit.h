// A one-line text field. A click starts editing (the field takes the keyboard focus) with
// the whole text selected, so typing replaces it; a click while editing places the caret.
// Characters insert at the caret (replacing a selection), Backspace and Delete remove, the
// arrows, Home and End move; Enter commits, Escape restores the old text; losing the focus
// commits. A commit tells the listener once, as one edit gesture. Text wider than the
// field scrolls so that the caret stays inside it while editing, and shows its start
// otherwise; nothing is drawn outside the field.
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
    // While editing: the text being typed, the caret and the other end of the selection
    // (the caret itself when nothing is selected), in bytes from the start.
    const std::string& getEditText() const noexcept { return editText; }
    std::size_t getCaret() const noexcept { return caret; }
    std::size_t getSelectionAnchor() const noexcept { return anchor; }

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
    bool hasSelection() const noexcept { return anchor != caret; }
    // Removes the selected text; the caret stays where it began.
    void eraseSelection();
    // Typed text, in place of the selection.
    void insert(const std::string& typed);
    // The width of text in the field's font.
    CCoord widthOf(const std::string& text) const;
    // Where text of the given width starts, in window x.
    CCoord textStart(CCoord width) const;
    // Scrolls the text being typed so that the caret lies inside the field.
    void keepCaretVisible();

    std::string text;
    std::string editText;
    std::size_t caret = 0;
    std::size_t anchor = 0;
    CCoord scroll = 0; // pixels of the text being typed hidden left of the field
    bool editingText = false;
};
