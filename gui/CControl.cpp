#include "gui/CControl.h"

#include "gui/CFrame.h"

#include <cstring>

std::int32_t frameForValue(float value, float vmin, float vmax, std::int32_t frames) noexcept
{
    if (frames <= 1 || !(vmax > vmin))
        return 0;
    const float normalized = (value - vmin) / (vmax - vmin);
    const float position = normalized * static_cast<float>(frames - 1) + 0.5f;
    if (!(position >= 0.0f)) // below the range, or NaN
        return 0;
    const auto frame = static_cast<std::int32_t>(position);
    return frame < frames ? frame : frames - 1;
}

CControl::CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* bitmap)
    : CView(size), listener(listener), tag(tag)
{
    setBackground(bitmap);
    drawnValue.store(-1.0f, std::memory_order_relaxed);
}

CControl::CControl(const CControl& other)
    : CView(other), listener(other.listener), tag(other.tag), value(other.getValue()),
      drawnValue(-1.0f), vmin(other.vmin), vmax(other.vmax), defaultValue(other.defaultValue),
      wheelInc(other.wheelInc), backOffset(other.backOffset)
{
}

void CControl::setValue(float val) noexcept
{
    if (val < vmin)
        val = vmin;
    else if (val > vmax)
        val = vmax;
    setValueUnbounded(val);
}

void CControl::bounceValue() noexcept
{
    const float v = getValue();
    if (v > vmax)
        setValueUnbounded(vmax);
    else if (v < vmin)
        setValueUnbounded(vmin);
}

void CControl::valueChanged()
{
    if (listener)
        listener->valueChanged(this);
}

void CControl::beginEdit()
{
    if (editing++ == 0 && frame && frame->getEditor())
        frame->getEditor()->beginEdit(tag);
}

void CControl::endEdit()
{
    if (editing == 0)
        return;
    if (--editing == 0 && frame && frame->getEditor())
        frame->getEditor()->endEdit(tag);
}

bool CControl::checkDefaultValue(const CButtonState& buttons)
{
    if (buttons.getButtonState() != kLButton || buttons.getModifierState() != kControl)
        return false;
    beginEdit();
    setValue(defaultValue);
    valueChanged();
    endEdit();
    invalid();
    return true;
}

bool CControl::isDirty() const noexcept
{
    return dirty || getValue() != drawnValue.load(std::memory_order_relaxed);
}

void CControl::setDirty(bool state) noexcept
{
    dirty = state;
    drawnValue.store(state ? -1e30f : getValue(), std::memory_order_relaxed);
}

bool CControl::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CControl") == 0 || CView::isTypeOf(type);
}
