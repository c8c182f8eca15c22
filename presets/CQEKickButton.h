// A strip button with three images (normal, hovered, pressed) that notifies once, on the
// press. A double-click button answers double-clicks only, so that a stray click cannot
// overwrite or delete a stored default; Ctrl with the double-click gives the value 0.5.
#pragma once

#include "gui/controls/CButtons.h"
#include "gui/controls/HoverImages.h"

class CQEKickButton : public CKickButton
{
public:
    // The bitmap holds three stacked images of equal height.
    CQEKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                  CBitmap* background, bool doubleClick = false);

    // Image 2 while pressed, else 1 while hovered, else 0.
    void draw(CDrawContext* context) override;
    // Other presses are swallowed: handled, and nothing follows.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // Back to 0, without a second notification.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    bool isDoubleClickButton() const noexcept { return doubleClick; }
    bool isHovered() const noexcept { return images.isHovered(); }
    bool isPressed() const noexcept { return pressed; }

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CQEKickButton(*this); }

private:
    HoverImages images;
    bool pressed = false;
    bool doubleClick;
};
