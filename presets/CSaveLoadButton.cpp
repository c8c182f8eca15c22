#include "presets/CSaveLoadButton.h"

#include "gui/CDrawContext.h"

#include <cstring>

namespace
{
constexpr int kImages = 3;
}

CSaveLoadButton::CSaveLoadButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                                 CBitmap* background)
    : CKickButton(size, listener, tag, background ? background->getHeight() / kImages : 0,
                  background),
      images(background, kImages)
{
}

void CSaveLoadButton::draw(CDrawContext* context)
{
    images.draw(*this, context, background, images.threeImageIndex(getValue() != 0.0f));
}

CMouseEventResult CSaveLoadButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!(buttons.isLeftButton() || buttons.isRightButton()) || listener == nullptr)
        return kMouseEventNotHandled;
    // Exactly the right button: no other button, no modifier, no double-click.
    setValue(static_cast<std::int32_t>(buttons) == kRButton ? 0.5f : 1.0f);
    // The listener may start a file dialog, modal on Windows, and the host may close the
    // window meanwhile; the frame keeps this button alive.
    valueChanged();
    setValue(0.0f);
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CSaveLoadButton::onMouseEntered(CPoint&, const CButtonState&)
{
    images.setHover(*this, 1);
    return kMouseEventHandled;
}

CMouseEventResult CSaveLoadButton::onMouseExited(CPoint&, const CButtonState&)
{
    images.setHover(*this, 0);
    return kMouseEventHandled;
}

bool CSaveLoadButton::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CSaveLoadButton") == 0 || CKickButton::isTypeOf(type);
}
