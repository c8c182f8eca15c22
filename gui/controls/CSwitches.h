// Controls that show one of several stacked images: the movie bitmap (display only), the
// horizontal switch (position from where the mouse is) and the rocker (-1, 0, +1 while
// held).
#pragma once

#include "gui/CControl.h"

class CMovieBitmap : public CControl
{
public:
    CMovieBitmap(const CRect& size, CControlListener* listener, std::int32_t tag,
                 std::int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                 const CPoint& offset = {});
    void draw(CDrawContext* context) override;
    std::int32_t getNumSubPixmaps() const noexcept { return subPixmaps; }
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CMovieBitmap(*this); }

protected:
    std::int32_t subPixmaps;
    CCoord heightOfOneImage;
};

class CHorizontalSwitch : public CControl
{
public:
    // The width is split into subPixmaps equal parts; part k is position k, value
    // min + k / (positions - 1) of the range.
    CHorizontalSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                      std::int32_t subPixmaps, CCoord heightOfOneImage, std::int32_t positions,
                      CBitmap* background, const CPoint& offset = {});
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CHorizontalSwitch(*this); }

protected:
    float valueAt(const CPoint& where) const;

    std::int32_t subPixmaps;
    CCoord heightOfOneImage;
    std::int32_t positions;
};

enum CRockerStyle : std::int32_t
{
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
};

class CRockerSwitch : public CControl
{
public:
    // Range -1 to +1. Images: 3 stacked, for the minimum, the middle and the maximum.
    CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                  CBitmap* background, const CPoint& offset = {}, std::int32_t style = kHorizontal);
    CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                  CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = {},
                  std::int32_t style = kHorizontal);
    void draw(CDrawContext* context) override;
    // Press on the left (top) half: minimum; on the right (bottom) half, or the middle:
    // maximum; notified. Release: back to the middle, notified.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new CRockerSwitch(*this); }

    // -1 on the first half, +1 on the second (the middle itself counts as second).
    int sideOf(const CPoint& where) const;

protected:
    CCoord heightOfOneImage;
    std::int32_t style;
};
