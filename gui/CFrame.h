// The top of a window: owns its views, collects the rectangles to redraw, draws them into
// its pixel buffer on idle, and routes mouse and key events to the view under the mouse,
// the view that took the mouse at a press, the modal view or the focus view.
#pragma once

#include "gui/CView.h"
#include "gui/IPlatformFrame.h"
#include "gui/VSTGUIEditorInterface.h"

#include <memory>
#include <vector>

class CFrame : public CView
{
public:
    // With a parent window: a native child window of it (X11 window id, or HWND). Without
    // one (null): no window at all, the offscreen back end.
    CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);
    CFrame(const CRect& size, std::unique_ptr<IPlatformFrame> platform,
           VSTGUIEditorInterface* editor);
    ~CFrame() override;

    // Ends an open popup menu or file selector unanswered, releases every view and the
    // window, then the frame's own reference.
    void close();

    // Takes over the caller's reference.
    bool addView(CView* view);
    // Releases the frame's reference when asked to.
    bool removeView(CView* view, bool withForget = true);
    bool removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    std::int32_t getNbViews() const noexcept { return static_cast<std::int32_t>(views.size()); }
    CView* getView(std::int32_t index) const;
    // The topmost visible child under the point. The hierarchy is flat, so deep and
    // shallow searches agree.
    CView* getViewAt(const CPoint& where, bool deep = false) const;
    bool getCurrentMouseLocation(CPoint& where) const;

    // While set, the modal view receives every mouse event. The frame keeps the caller's
    // reference while the view is modal and releases it on close; setModalView(nullptr)
    // hands it back.
    bool setModalView(CView* view);
    CView* getModalView() const noexcept { return modalView; }
    void setFocusView(CView* view);
    CView* getFocusView() const noexcept { return focusView; }

    void invalidRect(const CRect& rect);
    // Marks the whole frame for redrawing (or clears every pending redraw).
    void setDirty(bool state = true) noexcept override;
    // Handles the window system's events, then redraws what is dirty and presents it.
    void idle();
    // Draws everything into the buffer now, without presenting.
    void drawAll();

    // Events, in frame coordinates.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
    std::int32_t onKeyDown(CKeyCode& key) override;
    std::int32_t onKeyUp(CKeyCode& key) override;
    CView* getMouseDownView() const noexcept { return mouseDownView; }

    void draw(CDrawContext* context) override;

    VSTGUIEditorInterface* getEditor() const noexcept { return editor; }
    IPlatformFrame* getPlatformFrame() const noexcept { return platform.get(); }
    const PixelBuffer& getBuffer() const noexcept { return buffer; }
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return nullptr; }

private:
    CView* hitView(const CPoint& where, const CView* below = nullptr) const;
    void setMouseDownView(CView* view);
    void updateHover(CPoint& where, const CButtonState& buttons);
    void redraw(const CRect& rect);

    VSTGUIEditorInterface* editor;
    std::unique_ptr<IPlatformFrame> platform;
    // A back end closed from inside its own event handling lives until that returns.
    std::unique_ptr<IPlatformFrame> closedPlatform;
    bool handlingEvents = false;
    PixelBuffer buffer;
    std::vector<CView*> views;
    std::vector<CRect> invalidRects;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    CView* mouseDownView = nullptr;
    CView* hoverView = nullptr;
    bool allDirty = true;
};
