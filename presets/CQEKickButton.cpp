#include "presets/CQEKickButton.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
constexpr int kImages = 3;
}

CQEKickButton::CQEKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CBitmap* background, bool doubleClick)
    : CKickButton(size, listener, tag, background ? background->getHeight() / kImages : 0,
                  background),
      images(background, kImages), doubleClick(doubleClick)
{
}

void CQEKickButton::draw(CDrawContext* context)
{
    images.draw(*this, context, background, images.threeImageIndex(pressed));
}

CMouseEventResult CQEKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || (doubleClick && !buttons.isDoubleClick()))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    pressed = true;
    // No edit gesture reaches the host: the strip's tags name no parameter.
    setValue(doubleClick && (buttons.getModifierState() & kControl) ? 0.5f : 1.0f);
    valueChanged();
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult CQEKickButton::onMouseMoved(CPoint&, const CButtonState&)
{
    // The notification went out with the press; moving away takes nothing back.
    return pressed ? kMouseEventHandled : kMouseEventNotHandled;
}

CMouseEventResult CQEKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    setValue(0.0f);
    pressed = false;
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult CQEKickButton::onMouseEntered(CPoint&, const CButtonState&)
{
    images.setHover(*this, 1);
    return kMouseEventHandled;
}

CMouseEventResult CQEKickButton::onMouseExited(CPoint&, const CButtonState&)
{
    images.setHover(*this, 0);
    return kMouseEventHandled;
}

bool CQEKickButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CQEKickButton") == 0 || CKickButton::isTypeOf(type);
}
