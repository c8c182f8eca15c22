#include "gui/controls/CAnimKnob.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

#include <cmath>
#include <cstring>
#include <numbers>

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, std::int32_t tag,
                     std::int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                     const CPoint& offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage)
{
    setBackOffset(offset);
}

void CAnimKnob::draw(CDrawContext* context)
{
    if (background)
    {
        const std::int32_t frameIndex = frameForValue(getValue(), vmin, vmax, subPixmaps);
        context->drawBitmap(background, size,
                            CPoint(backOffset.x, backOffset.y + frameIndex * heightOfOneImage));
    }
    setDirty(false);
}

void CAnimKnob::changeTo(float newValue)
{
    const float old = getValue();
    setValueUnbounded(newValue);
    bounceValue();
    if (getValue() != old)
    {
        valueChanged();
        invalid();
    }
}

// Circular: the angle around the centre, from the lower left (0) clockwise over three
// quarters of a turn to the lower right (1).
float CAnimKnob::valueFromAngle(const CPoint& where) const
{
    const double cx = (size.left + size.right) / 2;
    const double cy = (size.top + size.bottom) / 2;
    double angle = std::atan2(cy - where.y, where.x - cx); // counter-clockwise from the right
    constexpr double start = 1.25 * std::numbers::pi;      // lower left
    double travelled = start - angle;                      // clockwise from the start
    while (travelled < 0)
        travelled += 2 * std::numbers::pi;
    while (travelled >= 2 * std::numbers::pi)
        travelled -= 2 * std::numbers::pi;
    double normalized = travelled / (1.5 * std::numbers::pi);
    if (normalized > 1) // in the gap at the bottom: the nearer end
        normalized = travelled < 1.75 * std::numbers::pi ? 1 : 0;
    return vmin + static_cast<float>(normalized) * (vmax - vmin);
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    std::int32_t mode = kCircularMode;
    if (frame && frame->getEditor())
        mode = frame->getEditor()->getKnobMode();
    linear = (mode == kLinearMode) != ((buttons & kAlt) != 0);
    beginEdit();
    dragging = true;
    firstPoint = where;
    startValue = getValue();
    dragButtons = buttons;
    float range = kLinearRange;
    if (buttons & kShift)
        range *= zoomFactor;
    coef = (vmax - vmin) / range;
    if (!linear)
        return onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!dragging || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (!linear)
    {
        changeTo(valueFromAngle(where));
        return kMouseEventHandled;
    }
    const auto diff = static_cast<float>((firstPoint.y - where.y) + (where.x - firstPoint.x));
    if (buttons != CButtonState(dragButtons))
    {
        // Shift pressed or released during the drag: the value stays where it is and
        // only the movement from here on uses the new scale.
        float range = kLinearRange;
        if (buttons & kShift)
            range *= zoomFactor;
        const float newCoef = (vmax - vmin) / range;
        startValue += diff * (coef - newCoef);
        coef = newCoef;
        dragButtons = buttons;
    }
    changeTo(startValue + diff * coef);
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint&, const CButtonState&)
{
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    float step = distance * wheelInc;
    if (buttons & kShift)
        step *= 0.1f;
    const float old = getValue();
    setValueUnbounded(old + step);
    bounceValue();
    if (getValue() != old)
    {
        invalid();
        beginEdit();
        valueChanged();
        endEdit();
    }
    return true;
}

bool CAnimKnob::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CAnimKnob") == 0 || std::strcmp(type, "CKnob") == 0 ||
           CControl::isTypeOf(type);
}
