// The about screen: the owner's bitmap over the whole editor with the version text. A left
// click anywhere on it closes it; the view then deletes itself.
#pragma once

#include "gui/CControl.h"

class CAbout;

class CSplashScreenMyView : public CControl
{
public:
    // owner: the hot zone that opened the view; it outlives the view, which the frame
    // drops before its children.
    CSplashScreenMyView(const CRect& size, CAbout* owner, const CPoint& aboutTextOrigin);

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CSplashScreenMyView(*this); }
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    static constexpr const char* kVersionText = "v.1.6.0";

private:
    CAbout* owner;
    CPoint aboutTextOrigin;
};
