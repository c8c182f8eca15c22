// The two-position "Dly<>Clk" switch: the library's horizontal switch, named for the editor.
// A press picks the half under the mouse and tells the listener, as a click: the editor
// decides whether the mode changes and makes the host's gesture itself, so a click that
// changes nothing (the half already selected, or the switch locked) reaches no host.
#pragma once

#include "gui/controls/CSwitches.h"

#include <cstring>

class QELSwitch : public CHorizontalSwitch
{
public:
    QELSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
              std::int32_t subPixmaps, std::int32_t heightOfOneImage, std::int32_t positions,
              CBitmap* background, const CPoint& offset = {})
        : CHorizontalSwitch(size, listener, tag, subPixmaps, heightOfOneImage, positions,
                            background, offset)
    {
    }

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override
    {
        if (!buttons.isLeftButton())
            return kMouseEventNotHandled;
        setValue(valueAt(where));
        invalid();
        valueChanged();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }

    bool isTypeOf(const char* type) const override
    {
        return std::strcmp(type, "QELSwitch") == 0 || CHorizontalSwitch::isTypeOf(type);
    }
    CView* newCopy() const override { return new QELSwitch(*this); }
};
