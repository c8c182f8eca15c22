// The two-position "Dly<>Clk" switch: the library's horizontal switch, named for the editor.
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

    bool isTypeOf(const char* type) const override
    {
        return std::strcmp(type, "QELSwitch") == 0 || CHorizontalSwitch::isTypeOf(type);
    }
    CView* newCopy() const override { return new QELSwitch(*this); }
};
