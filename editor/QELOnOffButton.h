// A two-state button whose values sit in the middle of the switch ranges (0.25 off, 0.75
// on), as the factory programs store them, so the parameter decodes without ambiguity.
#pragma once

#include "gui/controls/CButtons.h"

class QELOnOffButton : public COnOffButton
{
public:
    // The bitmap holds two stacked images of equal height: off above, on below.
    QELOnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                   CBitmap* background);

    // Any value of the upper half of the range shows "on", so 1.0 set by a program does too.
    void draw(CDrawContext* context) override;
    // Toggles on the press; the release is not wanted.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new QELOnOffButton(*this); }
};
