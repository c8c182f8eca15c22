#include "gui/CView.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

#include <cstring>

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::CView(const CView& other)
    : CBaseObject(other), size(other.size), mouseableArea(other.mouseableArea),
      background(other.background), dirty(other.dirty), mouseEnabled(other.mouseEnabled),
      visible(other.visible)
{
    if (background)
        background->remember();
}

CView::~CView()
{
    if (background)
        background->forget();
}

void CView::draw(CDrawContext* context)
{
    if (background)
        context->drawBitmap(background, size);
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint&, const float&, const CButtonState&)
{
    return false;
}
std::int32_t CView::onKeyDown(CKeyCode&)
{
    return -1;
}
std::int32_t CView::onKeyUp(CKeyCode&)
{
    return -1;
}

void CView::invalid()
{
    dirty = false;
    if (frame)
        frame->invalidRect(size);
}

void CView::setViewSize(const CRect& rect, bool invalidate)
{
    if (invalidate)
        invalid();
    size = rect;
    mouseableArea = rect;
    if (invalidate)
        invalid();
}

void CView::setVisible(bool state)
{
    if (visible == state)
        return;
    visible = state;
    if (frame)
        frame->invalidRect(size);
}

void CView::setBackground(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (background)
        background->forget();
    background = bitmap;
    setDirty(true);
}

bool CView::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CView") == 0;
}
