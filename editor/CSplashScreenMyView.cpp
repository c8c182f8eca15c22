#include "editor/CSplashScreenMyView.h"

#include "editor/CAbout.h"
#include "gui/CDrawContext.h"
#include "gui/CFont.h"
#include "gui/CFrame.h"

#include <cstring>

CSplashScreenMyView::CSplashScreenMyView(const CRect& size, CAbout* owner,
                                         const CPoint& aboutTextOrigin)
    : CControl(size, nullptr, 0, owner ? owner->getBackground() : nullptr), owner(owner),
      aboutTextOrigin(aboutTextOrigin)
{
}

bool CSplashScreenMyView::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CSplashScreenMyView") == 0 || CControl::isTypeOf(type);
}

void CSplashScreenMyView::draw(CDrawContext* context)
{
    if (background)
        context->drawBitmap(background, size, CPoint(0, 0), 1.0f);
    context->setFont(kNormalFont, 11);
    context->setFontColor(CColor{255, 255, 255, 255});
    const CCoord left = size.left + aboutTextOrigin.x;
    const CCoord top = size.top + aboutTextOrigin.y;
    context->drawString(kVersionText, CRect(left, top, left + 100, top + 15), kLeftText, true);
    setDirty(false);
}

CMouseEventResult CSplashScreenMyView::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (owner)
        owner->unSplash();
    CFrame* parent = frame;
    // Only a view that is the frame's modal view holds the reference it releases here.
    if (parent && parent->getModalView() == this)
    {
        parent->setDirty(true);
        parent->setModalView(nullptr);
        forget();
    }
    return kMouseEventHandled;
}
