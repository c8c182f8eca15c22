// Buttons drawn from stacked images: the kick button (pressed while held, one notification
// per click) and the on/off button (toggles on press).
#pragma once

#include "gui/CControl.h"

class CKickButton : public CControl
{
public:
    CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                CBitmap* background, const CPoint& offset = {});
    CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = {});

    // Image 0 released, image 1 pressed.
    void draw(CDrawContext* context) override;
    // Press: the value goes to the maximum while the mouse stays inside; release inside
    // notifies once; the value always returns to the minimum.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

    CCoord getHeightOfOneImage() const noexcept { return heightOfOneImage; }
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CKickButton(*this); }

protected:
    // While the button is held: pressed inside its rectangle, released outside.
    void followPress(const CPoint& where);
    CCoord heightOfOneImage;
};

class COnOffButton : public CControl
{
public:
    COnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                 CBitmap* background, std::int32_t style = 0);

    // The upper half of the bitmap when off, the lower when the value is the maximum.
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new COnOffButton(*this); }

protected:
    std::int32_t style;
};
