#include "gui/controls/CSplashScreen.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

#include <cstring>

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CBitmap* background, const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay(toDisplay), keepSize(size)
{
    setBackOffset(offset);
    setValueUnbounded(0.0f);
}

void CSplashScreen::draw(CDrawContext* context)
{
    if (splashing && background)
        context->drawBitmap(background, toDisplay, backOffset);
    setDirty(false);
}

CMouseEventResult CSplashScreen::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (splashing)
    {
        unSplash();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    setValue(vmax);
    if (frame && frame->getModalView() == nullptr)
    {
        // The frame holds the control twice while it is modal: as a child and as the
        // modal view.
        remember();
        frame->setModalView(this);
        splashing = true;
        keepSize = size;
        size = toDisplay;
        mouseableArea = toDisplay;
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CSplashScreen::unSplash()
{
    setValue(vmin);
    if (!splashing)
        return;
    splashing = false;
    CFrame* parent = frame;
    invalid();
    size = keepSize;
    mouseableArea = keepSize;
    if (parent && parent->getModalView() == this)
    {
        parent->setModalView(nullptr);
        attached(parent); // still a child of the frame
        forget();
    }
}

bool CSplashScreen::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CSplashScreen") == 0 || CControl::isTypeOf(type);
}
