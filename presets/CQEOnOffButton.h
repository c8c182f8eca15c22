// A strip switch with three images (off, hovered while off, on) that toggles on the press:
// the MIDI learn and clear switches.
#pragma once

#include "gui/controls/CButtons.h"
#include "gui/controls/HoverImages.h"

class CQEOnOffButton : public COnOffButton
{
public:
    // The bitmap holds three stacked images of equal height.
    CQEOnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                   CBitmap* background);

    // Image 2 when on (value 1), else 1 while hovered with value 0, else 0.
    void draw(CDrawContext* context) override;
    // Left button: the value becomes 1 - value, notified; nothing follows. Other buttons
    // are not handled.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    CCoord getHeightOfOneImage() const noexcept { return images.getHeightOfOneImage(); }
    bool isHovered() const noexcept { return images.isHovered(); }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CQEOnOffButton(*this); }

private:
    HoverImages images;
};
