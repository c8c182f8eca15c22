#include "editor/QELOnOffButton.h"

#include "effect/ParameterIndex.h"
#include "gui/CDrawContext.h"

#include <cstring>

QELOnOffButton::QELOnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                               CBitmap* background)
    : COnOffButton(size, listener, tag, background, 0)
{
}

void QELOnOffButton::draw(CDrawContext* context)
{
    if (background)
    {
        const int half = static_cast<int>(background->getHeight()) / 2;
        const CCoord y = stepIndex(getValue(), 2) == 0 ? 0 : half;
        context->drawBitmap(background, size, CPoint(0, y));
    }
    // Cleared without a bitmap too, or the frame would redraw the button on every idle.
    setDirty(false);
}

CMouseEventResult QELOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    setValue(stepValue(1 - stepIndex(getValue(), 2), 2));
    valueChanged();
    endEdit();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool QELOnOffButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "QELOnOffButton") == 0 || COnOffButton::isTypeOf(type);
}
