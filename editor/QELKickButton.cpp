#include "editor/QELKickButton.h"

#include <cstring>

QELKickButton::QELKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                             std::int32_t heightOfOneImage, CBitmap* background,
                             const CPoint& offset)
    : CKickButton(size, listener, tag, heightOfOneImage, background, offset)
{
}

CMouseEventResult QELKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    setValue(1.0f);
    stepMultiplier = 1.0f;
    if (buttons.getModifierState() & kShift)
        stepMultiplier = 10.0f;
    if (buttons.getModifierState() & kControl) // Ctrl wins over Shift
        stepMultiplier = 100.0f;
    beginEdit();
    invalid();
    valueChanged();
    endEdit();
    pressed = true;
    return kMouseEventHandled;
}

CMouseEventResult QELKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    // The edit gesture is over by now, so the library's move handling (which follows the
    // gesture) would ignore the drag; follow the press instead.
    if (!pressed || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    followPress(where);
    return kMouseEventHandled;
}

CMouseEventResult QELKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    pressed = false;
    setValue(0.0f);
    invalid();
    return kMouseEventHandled;
}

bool QELKickButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "QELKickButton") == 0 || CKickButton::isTypeOf(type);
}
