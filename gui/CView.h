// The base of everything on a frame: a rectangle in frame coordinates, a dirty flag, an
// optional background bitmap, drawing and the mouse and key handlers.
#pragma once

#include "gui/CBaseObject.h"
#include "gui/CBitmap.h"
#include "gui/CGraphics.h"

class CDrawContext;
class CFrame;

class CView : public CBaseObject
{
public:
    explicit CView(const CRect& size);
    CView(const CView& other);
    ~CView() override;
    CView& operator=(const CView&) = delete;

    virtual void draw(CDrawContext* context);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    // distance: notches, positive away from the user. True when the wheel was used.
    virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);
    // 1 when the key was used, -1 when not.
    virtual std::int32_t onKeyDown(CKeyCode& key);
    virtual std::int32_t onKeyUp(CKeyCode& key);
    virtual void takeFocus() {}
    virtual void looseFocus() {}

    // Dirty views are redrawn on the frame's next idle pass.
    virtual void setDirty(bool state = true) noexcept { dirty = state; }
    virtual bool isDirty() const noexcept { return dirty; }
    // Asks the frame to redraw the view's rectangle on its next idle pass.
    void invalid();

    const CRect& getViewSize() const noexcept { return size; }
    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    CCoord getWidth() const noexcept { return size.getWidth(); }
    CCoord getHeight() const noexcept { return size.getHeight(); }
    // The part of the view that takes the mouse; its rectangle unless changed.
    const CRect& getMouseableArea() const noexcept { return mouseableArea; }
    void setMouseableArea(const CRect& rect) noexcept { mouseableArea = rect; }
    bool hitTest(const CPoint& where) const { return mouseableArea.pointInside(where); }

    void setMouseEnabled(bool state) noexcept { mouseEnabled = state; }
    bool getMouseEnabled() const noexcept { return mouseEnabled; }
    void setVisible(bool state);
    bool isVisible() const noexcept { return visible; }

    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const noexcept { return background; }

    // The frame the view is attached to, or null.
    CFrame* getFrame() const noexcept { return frame; }
    virtual void attached(CFrame* parent) { frame = parent; }
    virtual void removed() { frame = nullptr; }
    bool isAttached() const noexcept { return frame != nullptr; }

    virtual bool isTypeOf(const char* type) const;
    virtual CView* newCopy() const { return new CView(*this); }

protected:
    CRect size;
    CRect mouseableArea;
    CBitmap* background = nullptr;
    CFrame* frame = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool visible = true;
};
