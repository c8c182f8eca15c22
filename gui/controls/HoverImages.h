// The hover state of a button drawn from a stack of equal images, and the drawing of the
// image its state selects. The preset strip's buttons show a hovered image before the
// press; each button keeps its own click semantics and only asks this which image to show.
#pragma once

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CView.h"

class HoverImages
{
public:
    // The bitmap holds `images` stacked images of equal height.
    HoverImages(const CBitmap* bitmap, int images) noexcept
        : heightOfOneImage(bitmap ? bitmap->getHeight() / images : 0)
    {
    }

    CCoord getHeightOfOneImage() const noexcept { return heightOfOneImage; }

    // Where the mouse is: 0 outside; a button with one hover image uses 1, a rocker -1 or +1
    // for its halves.
    int getHover() const noexcept { return hover; }
    bool isHovered() const noexcept { return hover != 0; }

    // Redraws the view only when the hover changed, so a move inside costs nothing.
    void setHover(CView& view, int where)
    {
        if (where == hover)
            return;
        hover = where;
        view.invalid();
    }

    // The three-image buttons: 2 pressed (or on), else 1 hovered, else 0.
    int threeImageIndex(bool pressed) const noexcept { return pressed ? 2 : (isHovered() ? 1 : 0); }

    // Draws image `image` of the stack into the view's rectangle and marks the view clean.
    void draw(CView& view, CDrawContext* context, CBitmap* bitmap, int image) const
    {
        if (bitmap)
            context->drawBitmap(bitmap, view.getViewSize(), CPoint(0, image * heightOfOneImage));
        view.setDirty(false);
    }

private:
    CCoord heightOfOneImage;
    int hover = 0;
};
