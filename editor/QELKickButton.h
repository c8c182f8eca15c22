// A momentary step button: one notification per click, sent on the press with value 1,
// and the modifier held at that press as a step multiplier (Shift 10, Ctrl 100).
#pragma once

#include "gui/controls/CButtons.h"

class QELKickButton : public CKickButton
{
public:
    QELKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                  std::int32_t heightOfOneImage, CBitmap* background, const CPoint& offset = {});

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // While held: the pressed image inside the rectangle, the released one outside, and no
    // notification.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    // 1, 10 or 100, as set by the last press.
    float getStepMultiplier() const noexcept { return stepMultiplier; }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new QELKickButton(*this); }

private:
    float stepMultiplier = 1.0f;
    bool pressed = false;
};
