#include "gui/controls/CButtons.h"

#include "gui/CDrawContext.h"

#include <cstring>

CKickButton::CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CBitmap* background, const CPoint& offset)
    : CKickButton(size, listener, tag, background ? background->getHeight() / 2 : 0, background,
                  offset)
{
}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), heightOfOneImage(heightOfOneImage)
{
    setBackOffset(offset);
    setValueUnbounded(0.0f);
}

void CKickButton::draw(CDrawContext* context)
{
    if (background)
    {
        const CCoord y = getValue() == vmax ? heightOfOneImage : 0;
        context->drawBitmap(background, size, CPoint(backOffset.x, backOffset.y + y));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    setValue(vmax);
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing() || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    followPress(where);
    return kMouseEventHandled;
}

void CKickButton::followPress(const CPoint& where)
{
    const float wanted = hitTest(where) ? vmax : vmin;
    if (getValue() != wanted)
    {
        setValue(wanted);
        invalid();
    }
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    if (getValue() == vmax)
        valueChanged();
    setValue(vmin);
    invalid();
    endEdit();
    return kMouseEventHandled;
}

bool CKickButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CKickButton") == 0 || CControl::isTypeOf(type);
}

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                           CBitmap* background, std::int32_t style)
    : CControl(size, listener, tag, background), style(style)
{
    setValueUnbounded(0.0f);
}

void COnOffButton::draw(CDrawContext* context)
{
    if (background)
    {
        const CCoord y = getValue() == vmax ? background->getHeight() / 2 : 0;
        context->drawBitmap(background, size, CPoint(backOffset.x, backOffset.y + y));
    }
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    setValue(getValue() == vmax ? vmin : vmax);
    invalid();
    valueChanged();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COnOffButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "COnOffButton") == 0 || CControl::isTypeOf(type);
}
