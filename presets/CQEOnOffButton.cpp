#include "presets/CQEOnOffButton.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
constexpr int kImages = 3;
}

CQEOnOffButton::CQEOnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                               CBitmap* background)
    : COnOffButton(size, listener, tag, background, 0), images(background, kImages)
{
}

void CQEOnOffButton::draw(CDrawContext* context)
{
    // Only a switch that is off shows the hover.
    const float value = getValue();
    const int image = value == 1.0f ? 2 : (value == 0.0f ? images.threeImageIndex(false) : 0);
    images.draw(*this, context, background, image);
}

CMouseEventResult CQEOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    // No edit gesture reaches the host: the strip's tags name no parameter.
    setValue(1.0f - getValue());
    valueChanged();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CQEOnOffButton::onMouseEntered(CPoint&, const CButtonState&)
{
    images.setHover(*this, 1);
    return kMouseEventHandled;
}

CMouseEventResult CQEOnOffButton::onMouseExited(CPoint&, const CButtonState&)
{
    images.setHover(*this, 0);
    return kMouseEventHandled;
}

bool CQEOnOffButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CQEOnOffButton") == 0 || COnOffButton::isTypeOf(type);
}
