#include "editor/CInvisibleSlider.h"

#include <cstring>

CInvisibleSlider::CInvisibleSlider(const CRect& size, CControlListener* listener, std::int32_t tag)
    : CControl(size, listener, tag)
{
}

bool CInvisibleSlider::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CInvisibleSlider") == 0 || CControl::isTypeOf(type);
}

void CInvisibleSlider::draw(CDrawContext*)
{
    setDirty(false);
}

CMouseEventResult CInvisibleSlider::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    dragging = true;
    beginEdit();
    dragStartValue = getValue();
    dragButtons = buttons.getButtonState() | buttons.getModifierState();
    dragOrigin = where;
    const float pixels =
        (buttons.getModifierState() & kShift) ? kFinePixelsAtPress : kPixelsPerRange;
    dragScale = (vmax - vmin) / pixels;
    return onMouseMoved(where, buttons);
}

CMouseEventResult CInvisibleSlider::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    // Hover moves with the button held (a drag that began elsewhere) are not ours.
    if (!dragging || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    const float dx = static_cast<float>(where.x - dragOrigin.x);
    const float dy = static_cast<float>(dragOrigin.y - where.y);
    const float s = dx * 0.5f + dy;

    const std::int32_t now = buttons.getButtonState() | buttons.getModifierState();
    if (now != dragButtons)
    {
        // Rebase so that the value stays where it is; only further movement uses the new
        // scale.
        const float pixels = (now & kShift) ? kFinePixelsInDrag : kPixelsPerRange;
        const float newScale = (vmax - vmin) / pixels;
        dragStartValue = (dragScale - newScale) * s + dragStartValue;
        dragScale = newScale;
        dragButtons = now;
    }
    setValueUnbounded(dragStartValue + s * dragScale);
    bounceValue();
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CInvisibleSlider::onMouseUp(CPoint&, const CButtonState&)
{
    if (dragging)
        endEdit();
    dragging = false;
    return kMouseEventHandled;
}

bool CInvisibleSlider::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    const float step = (buttons.getModifierState() & kShift) ? kFineWheelStep : kWheelStep;
    setValueUnbounded(getValue() + distance * step);
    bounceValue();
    invalid();
    if (listener)
    {
        beginEdit();
        valueChanged();
        endEdit();
    }
    return true;
}
