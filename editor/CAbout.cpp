#include "editor/CAbout.h"

#include "editor/CSplashScreenMyView.h"
#include "gui/CFrame.h"

#include <cstring>

CAbout::CAbout(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background,
               const CRect& toDisplay, const CPoint& offset, const CPoint& aboutTextOrigin)
    : CSplashScreen(size, listener, tag, background, toDisplay, offset),
      aboutTextOrigin(aboutTextOrigin)
{
}

CMouseEventResult CAbout::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    setValue(getValue() == 0.0f ? 1.0f : 0.0f);
    if (getValue() == 0.0f)
        return kMouseEventHandled;
    auto* view = new CSplashScreenMyView(toDisplay, this, aboutTextOrigin);
    if (!frame || !frame->setModalView(view))
    {
        // Another modal view is up: nothing is shown, so the hot zone stays closed.
        view->forget();
        setValue(0.0f);
        return kMouseEventHandled;
    }
    invalid();
    return kMouseEventHandled;
}

bool CAbout::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CAbout") == 0 || CSplashScreen::isTypeOf(type);
}
