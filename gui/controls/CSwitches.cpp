#include "gui/controls/CSwitches.h"

#include "gui/CDrawContext.h"

#include <cmath>
#include <cstring>

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, std::int32_t tag,
                           std::int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                           const CPoint& offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage)
{
    setBackOffset(offset);
    setMouseEnabled(false);
}

void CMovieBitmap::draw(CDrawContext* context)
{
    if (background)
    {
        const std::int32_t frameIndex = frameForValue(getValue(), vmin, vmax, subPixmaps);
        context->drawBitmap(background, size,
                            CPoint(backOffset.x, backOffset.y + frameIndex * heightOfOneImage));
    }
    setDirty(false);
}

bool CMovieBitmap::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CMovieBitmap") == 0 || CControl::isTypeOf(type);
}

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener,
                                     std::int32_t tag, std::int32_t subPixmaps,
                                     CCoord heightOfOneImage, std::int32_t positions,
                                     CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage), positions(positions)
{
    setBackOffset(offset);
    setValueUnbounded(0.0f);
}

void CHorizontalSwitch::draw(CDrawContext* context)
{
    if (background)
    {
        const std::int32_t frameIndex = frameForValue(getValue(), vmin, vmax, subPixmaps);
        context->drawBitmap(background, size,
                            CPoint(backOffset.x, backOffset.y + frameIndex * heightOfOneImage));
    }
    setDirty(false);
}

float CHorizontalSwitch::valueAt(const CPoint& where) const
{
    const double part = size.getWidth() / std::max(subPixmaps, 1);
    auto k = static_cast<std::int32_t>(std::floor((where.x - size.left) / part));
    k = std::clamp(k, 0, std::max(std::min(subPixmaps, positions) - 1, 0));
    if (positions <= 1)
        return vmin;
    return vmin + static_cast<float>(k) * (vmax - vmin) / static_cast<float>(positions - 1);
}

CMouseEventResult CHorizontalSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CHorizontalSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing() || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    const float wanted = valueAt(where);
    if (wanted != getValue())
    {
        setValue(wanted);
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    endEdit();
    return kMouseEventHandled;
}

bool CHorizontalSwitch::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CHorizontalSwitch") == 0 || CControl::isTypeOf(type);
}

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CBitmap* background, const CPoint& offset, std::int32_t style)
    : CRockerSwitch(size, listener, tag, background ? background->getHeight() / 3 : 0, background,
                    offset, style)
{
}

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                             std::int32_t style)
    : CControl(size, listener, tag, background), heightOfOneImage(heightOfOneImage), style(style)
{
    setBackOffset(offset);
    vmin = -1.0f;
    vmax = 1.0f;
    setValueUnbounded(0.0f);
}

int CRockerSwitch::sideOf(const CPoint& where) const
{
    if (style & kVertical)
        return where.y < (size.top + size.bottom) / 2 ? -1 : 1;
    return where.x < (size.left + size.right) / 2 ? -1 : 1;
}

void CRockerSwitch::draw(CDrawContext* context)
{
    if (background)
    {
        const float v = getValue();
        const int index = v == vmin ? 0 : (v == vmax ? 2 : 1);
        context->drawBitmap(background, size,
                            CPoint(backOffset.x, backOffset.y + index * heightOfOneImage));
    }
    setDirty(false);
}

CMouseEventResult CRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    setValue(sideOf(where) < 0 ? vmin : vmax);
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing() || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    float wanted = (vmin + vmax) / 2;
    if (hitTest(where))
        wanted = sideOf(where) < 0 ? vmin : vmax;
    if (wanted != getValue())
    {
        setValue(wanted);
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    setValue((vmin + vmax) / 2);
    invalid();
    valueChanged();
    endEdit();
    return kMouseEventHandled;
}

bool CRockerSwitch::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CRockerSwitch") == 0 || CControl::isTypeOf(type);
}
