// The hot zone that opens the about screen: a click shows a CSplashScreenMyView over the
// whole editor as the frame's modal view. It never tells its listener, so opening and
// closing the about screen changes no parameter.
#pragma once

#include "gui/controls/CSplashScreen.h"

class CAbout : public CSplashScreen
{
public:
    // background: the about screen's bitmap; toDisplay: where the screen is shown;
    // aboutTextOrigin: the version text's top-left, relative to toDisplay.
    CAbout(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background,
           const CRect& toDisplay, const CPoint& offset, const CPoint& aboutTextOrigin);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    const CPoint& getAboutTextOrigin() const noexcept { return aboutTextOrigin; }
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CAbout(*this); }

private:
    CPoint aboutTextOrigin;
};
