// A line of text shown over other views for a while: hidden while it has nothing to say,
// shown from setMessage until it is cleared or clicked away. Whoever shows a message
// decides how long it stays.
#pragma once

#include "gui/controls/CParamDisplay.h"

#include <string>

class CMessageLine : public CParamDisplay
{
public:
    explicit CMessageLine(const CRect& size);

    // An empty message hides the line.
    void setMessage(std::string text);
    const std::string& getMessage() const noexcept { return message; }

    void draw(CDrawContext* context) override;
    // A click puts the message away and uncovers what is under it.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CMessageLine(*this); }

private:
    std::string message;
};
