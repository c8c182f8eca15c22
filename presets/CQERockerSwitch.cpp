#include "presets/CQERockerSwitch.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
constexpr int kImages = 5;
}

CQERockerSwitch::CQERockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                                 CBitmap* background)
    : CRockerSwitch(size, listener, tag, background ? background->getHeight() / kImages : 0,
                    background, CPoint(0, 0), kHorizontal),
      images(background, kImages)
{
}

void CQERockerSwitch::draw(CDrawContext* context)
{
    const float value = getValue();
    int image = 0;
    if (value == -1.0f)
        image = 3;
    else if (value == 1.0f)
        image = 4;
    else if (images.isHovered())
        image = images.getHover() < 0 ? 1 : 2;
    images.draw(*this, context, background, image);
}

CMouseEventResult CQERockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    // No edit gesture reaches the host: the strip's tags name no parameter.
    setValue(static_cast<float>(sideOf(where)));
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CQERockerSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        images.setHover(*this, sideOf(where));
    return kMouseEventHandled;
}

CMouseEventResult CQERockerSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    setValue(0.0f);
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult CQERockerSwitch::onMouseEntered(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        images.setHover(*this, sideOf(where));
    return kMouseEventHandled;
}

CMouseEventResult CQERockerSwitch::onMouseExited(CPoint&, const CButtonState&)
{
    images.setHover(*this, 0);
    return kMouseEventHandled;
}

bool CQERockerSwitch::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CQERockerSwitch") == 0 || CRockerSwitch::isTypeOf(type);
}
