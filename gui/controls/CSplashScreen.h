// A hot zone that shows a view over the frame while its value is the maximum. The library's
// own splash view is the control itself, enlarged to the display rectangle and made the
// frame's modal view; a click on it, or unSplash, puts it back.
#pragma once

#include "gui/CControl.h"

class CSplashScreen : public CControl
{
public:
    CSplashScreen(const CRect& size, CControlListener* listener, std::int32_t tag,
                  CBitmap* background, const CRect& toDisplay, const CPoint& offset = {});

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Hides the splash view: the value returns to the minimum.
    virtual void unSplash();
    const CRect& getDisplayRect() const noexcept { return toDisplay; }
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CSplashScreen(*this); }

protected:
    CRect toDisplay;
    CRect keepSize;
    bool splashing = false;
};
