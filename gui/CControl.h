// A view with a value: range, default, tag, listener, counted edit gestures and the wheel
// step. Like every view, a control belongs to the user-interface thread: setValue only
// stores the value, and the frame redraws changed controls on idle.
#pragma once

#include "gui/CView.h"

#include <atomic>

class CControl;

class CControlListener
{
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual std::int32_t controlModifierClicked(CControl* /*control*/, std::int32_t /*buttons*/)
    {
        return 0;
    }
};

class CControl : public CView
{
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, std::int32_t tag = 0,
             CBitmap* background = nullptr);
    CControl(const CControl& other);

    // Limits to the range and stores; the control is redrawn on the frame's next idle pass.
    virtual void setValue(float val) noexcept;
    float getValue() const noexcept { return value.load(std::memory_order_relaxed); }
    void setMin(float val) noexcept { vmin = val; }
    float getMin() const noexcept { return vmin; }
    void setMax(float val) noexcept { vmax = val; }
    float getMax() const noexcept { return vmax; }
    void setDefaultValue(float val) noexcept { defaultValue = val; }
    float getDefaultValue() const noexcept { return defaultValue; }
    void setWheelInc(float val) noexcept { wheelInc = val; }
    float getWheelInc() const noexcept { return wheelInc; }
    void setTag(std::int32_t val) noexcept { tag = val; }
    std::int32_t getTag() const noexcept { return tag; }
    void setListener(CControlListener* val) noexcept { listener = val; }
    CControlListener* getListener() const noexcept { return listener; }
    void setBackOffset(const CPoint& offset) noexcept { backOffset = offset; }
    const CPoint& getBackOffset() const noexcept { return backOffset; }

    // Limits the value to the range.
    void bounceValue() noexcept;
    // Tells the listener.
    virtual void valueChanged();
    // Only the outermost begin/end pair of a gesture reaches the editor (and the host).
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const noexcept { return editing > 0; }

    // Ctrl with the left button sets the default value, notified as one gesture.
    bool checkDefaultValue(const CButtonState& buttons);

    bool isDirty() const noexcept override;
    void setDirty(bool state = true) noexcept override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CControl(*this); }

protected:
    void setValueUnbounded(float val) noexcept { value.store(val, std::memory_order_relaxed); }

    CControlListener* listener;
    std::int32_t tag;
    std::atomic<float> value{0.0f};
    std::atomic<float> drawnValue{0.0f}; // the value on screen
    float vmin = 0.0f;
    float vmax = 1.0f;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
    CPoint backOffset;
    std::int32_t editing = 0;
};

// The image a multi-image control shows for its value: frames stacked vertically, frame k
// for value min + k / (frames - 1) of the range, rounded to the nearest frame.
std::int32_t frameForValue(float value, float vmin, float vmax, std::int32_t frames) noexcept;
