// The strip's previous/next rocker: five images (normal, hovered left, hovered right,
// pressed left, pressed right). It notifies once, on the press, with -1 or +1; the
// release only returns it to 0, so one click steps one program.
#pragma once

#include "gui/controls/CSwitches.h"
#include "gui/controls/HoverImages.h"

class CQERockerSwitch : public CRockerSwitch
{
public:
    // Horizontal. The bitmap holds five stacked images of equal height.
    CQERockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                    CBitmap* background);

    // Image 3 while the value is -1, 4 while +1; else 1 or 2 for the hovered half, 0.
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Without the left button: follows the hovered half. While it is held: nothing.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    // -1 left half, +1 right half (the middle included), 0 outside.
    int getHoverSide() const noexcept { return images.getHover(); }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CQERockerSwitch(*this); }

private:
    HoverImages images;
};
