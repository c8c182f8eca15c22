// A strip button that starts a file operation on the press. The right button alone gives
// the value 0.5 instead of 1: on a load button, that asks for the endian-reversed load.
#pragma once

#include "gui/controls/CButtons.h"
#include "gui/controls/HoverImages.h"

class CSaveLoadButton : public CKickButton
{
public:
    // The bitmap holds three stacked images of equal height.
    CSaveLoadButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                    CBitmap* background);

    // Image 2 while the value is not 0, else 1 while hovered, else 0.
    void draw(CDrawContext* context) override;
    // Left or right button with a listener: notifies, then the value is 0 again before
    // the press returns; nothing follows. Other presses are not handled.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    bool isHovered() const noexcept { return images.isHovered(); }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CSaveLoadButton(*this); }

private:
    HoverImages images;
};
