// A knob drawn from a filmstrip. In the editor's linear mode a drag of 200 pixels (up or
// right) covers the range, the zoom factor times finer with Shift; Alt switches between
// linear and circular for one drag; Ctrl+click sets the default value; the wheel moves by
// the wheel increment, a tenth of it with Shift.
#pragma once

#include "gui/CControl.h"

class CAnimKnob : public CControl
{
public:
    CAnimKnob(const CRect& size, CControlListener* listener, std::int32_t tag,
              std::int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
              const CPoint& offset = {});

    void setZoomFactor(float factor) noexcept { zoomFactor = factor; }
    float getZoomFactor() const noexcept { return zoomFactor; }
    std::int32_t getNumSubPixmaps() const noexcept { return subPixmaps; }
    CCoord getHeightOfOneImage() const noexcept { return heightOfOneImage; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CAnimKnob(*this); }

    static constexpr float kLinearRange = 200.0f; // pixels for the whole range

private:
    float valueFromAngle(const CPoint& where) const;
    void changeTo(float newValue);

    std::int32_t subPixmaps;
    CCoord heightOfOneImage;
    float zoomFactor = 10.0f;
    // The drag in progress.
    bool dragging = false;
    bool linear = true;
    CPoint firstPoint;
    float startValue = 0;
    float coef = 0;
    std::int32_t dragButtons = 0;
};
