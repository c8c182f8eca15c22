// An invisible drag-and-wheel area over the delay-time artwork. Dragging up counts one for
// one, to the right half as much; the value is always recomputed from the press position,
// so a drag past either end has to be undone before the value moves again.
#pragma once

#include "gui/CControl.h"

class CInvisibleSlider : public CControl
{
public:
    CInvisibleSlider(const CRect& size, CControlListener* listener, std::int32_t tag);

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CInvisibleSlider(*this); }
    // Nothing: the background artwork shows through.
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // One notch is 1/200 of the range, 0.0003 with Shift; always consumed.
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

    bool isDragging() const noexcept { return dragging; }

    // A full sweep: 1000 pixels up; 4000 when Shift was held at the press; 5000 once a
    // modifier changed during the drag with Shift held.
    static constexpr float kPixelsPerRange = 1000.0f;
    static constexpr float kFinePixelsAtPress = 4000.0f;
    static constexpr float kFinePixelsInDrag = 5000.0f;
    static constexpr float kWheelStep = 0.005f;
    static constexpr float kFineWheelStep = 0.0003f;

private:
    bool dragging = false;
    float dragScale = 0.0f;
    float dragStartValue = 0.0f;
    std::int32_t dragButtons = 0;
    CPoint dragOrigin;
};
