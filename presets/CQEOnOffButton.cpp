#include "presets/CQEOnOffButton.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
constexpr int kImages = 3;
}

CQEOnOffButton::CQEOnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                               CBitmap* background)
    : COnOffButton(size, listener, tag, background, 0),
      heightOfOneImage(background ? background->getHeight() / kImages : 0)
{
}

void CQEOnOffButton::draw(CDrawContext* context)
{
    if (background)
    {
        const float value = getValue();
        const int image = value == 1.0f ? 2 : (hovered && value == 0.0f ? 1 : 0);
        context->drawBitmap(background, size, CPoint(0, image * heightOfOneImage));
    }
    setDirty(false);
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
    hovered = true;
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult CQEOnOffButton::onMouseExited(CPoint&, const CButtonState&)
{
    hovered = false;
    invalid();
    return kMouseEventHandled;
}

bool CQEOnOffButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CQEOnOffButton") == 0 || COnOffButton::isTypeOf(type);
}
