#include "gui/CFrame.h"

#include "gui/CDrawContext.h"
#include "gui/platform/NativeFrame.h"
#include "gui/platform/OffscreenFrame.h"

#include <algorithm>
#include <cstring>

namespace
{
// Beyond this many pending rectangles they are merged into one: a full redraw is cheap,
// a long list of tiny ones is not.
constexpr std::size_t kMaxInvalidRects = 16;

CRect integral(const CRect& rect)
{
    CRect r = rect;
    return r.makeIntegral();
}

bool handled(CMouseEventResult result)
{
    return result == kMouseEventHandled ||
           result == kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
} // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CFrame(size,
             systemWindow ? gui::createNativeFrame(systemWindow, this, size)
                          : std::unique_ptr<IPlatformFrame>(new OffscreenFrame()),
             editor)
{
}

CFrame::CFrame(const CRect& size, std::unique_ptr<IPlatformFrame> platformFrame,
               VSTGUIEditorInterface* editor)
    : CView(size), editor(editor), platform(std::move(platformFrame)),
      buffer(static_cast<int>(size.getWidth()), static_cast<int>(size.getHeight()))
{
    if (!platform)
        platform = std::make_unique<OffscreenFrame>();
    frame = this;
}

CFrame::~CFrame()
{
    removeAll(true);
}

void CFrame::close()
{
    // First, so that a menu's or file selector's answer can never reach a view being
    // released.
    if (platform)
        platform->onFrameClosed();
    setFocusView(nullptr);
    setMouseDownView(nullptr);
    if (modalView)
    {
        CView* modal = modalView;
        modalView = nullptr;
        modal->removed();
        modal->forget();
    }
    removeAll(true);
    if (handlingEvents)
        closedPlatform = std::move(platform);
    else
        platform.reset();
    forget();
}

bool CFrame::addView(CView* view)
{
    if (!view || isChild(view))
        return false;
    views.push_back(view);
    view->attached(this);
    view->setDirty(true);
    invalidRect(view->getViewSize());
    return true;
}

bool CFrame::removeView(CView* view, bool withForget)
{
    const auto found = std::find(views.begin(), views.end(), view);
    if (found == views.end())
        return false;
    views.erase(found);
    if (hoverView == view)
        hoverView = nullptr;
    if (focusView == view)
        focusView = nullptr;
    if (mouseDownView == view)
        setMouseDownView(nullptr);
    invalidRect(view->getViewSize());
    view->removed();
    if (withForget)
        view->forget();
    return true;
}

bool CFrame::removeAll(bool withForget)
{
    while (!views.empty())
        removeView(views.back(), withForget);
    return true;
}

bool CFrame::isChild(const CView* view) const
{
    return std::find(views.begin(), views.end(), view) != views.end();
}

CView* CFrame::getView(std::int32_t index) const
{
    return index >= 0 && index < getNbViews() ? views[static_cast<std::size_t>(index)] : nullptr;
}

CView* CFrame::getViewAt(const CPoint& where, bool /*deep*/) const
{
    for (auto it = views.rbegin(); it != views.rend(); ++it)
        if ((*it)->isVisible() && (*it)->getViewSize().pointInside(where))
            return *it;
    return nullptr;
}

// The topmost visible, mouse-enabled view whose mouse area holds the point, below the
// given one when that is set.
CView* CFrame::hitView(const CPoint& where, const CView* below) const
{
    if (modalView)
        return below ? nullptr : modalView;
    auto it = views.rbegin();
    if (below)
    {
        it = std::find(views.rbegin(), views.rend(), below);
        if (it == views.rend())
            return nullptr;
        ++it;
    }
    for (; it != views.rend(); ++it)
        if ((*it)->isVisible() && (*it)->getMouseEnabled() && (*it)->hitTest(where))
            return *it;
    return nullptr;
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const
{
    return platform && platform->getCurrentMousePosition(where);
}

bool CFrame::setModalView(CView* view)
{
    if (view && modalView)
        return false;
    if (modalView)
    {
        invalidRect(modalView->getViewSize());
        if (mouseDownView == modalView)
            setMouseDownView(nullptr);
        if (hoverView == modalView)
            hoverView = nullptr;
        modalView->removed();
    }
    modalView = view;
    if (modalView)
    {
        setFocusView(nullptr);
        modalView->attached(this);
        modalView->setDirty(true);
        invalidRect(modalView->getViewSize());
    }
    return true;
}

void CFrame::setFocusView(CView* view)
{
    if (view == focusView)
        return;
    CView* old = focusView;
    focusView = view;
    if (old)
        old->looseFocus();
    if (focusView)
        focusView->takeFocus();
}

void CFrame::setMouseDownView(CView* view)
{
    if (view)
        view->remember();
    if (mouseDownView)
        mouseDownView->forget();
    mouseDownView = view;
}

void CFrame::invalidRect(const CRect& rect)
{
    CRect r = integral(rect);
    r.bound(CRect(0, 0, size.getWidth(), size.getHeight()));
    if (r.isEmpty() || allDirty)
        return;
    for (auto& pending : invalidRects)
    {
        CRect inside = r;
        if (inside.bound(pending) == r)
            return;
    }
    if (invalidRects.size() >= kMaxInvalidRects)
    {
        CRect all = r;
        for (const auto& pending : invalidRects)
            all.unite(pending);
        invalidRects.assign(1, all);
        return;
    }
    invalidRects.push_back(r);
}

void CFrame::setDirty(bool state) noexcept
{
    allDirty = state;
    if (state)
        invalidRects.clear();
}

void CFrame::redraw(const CRect& rect)
{
    CDrawContext context(buffer);
    context.setClipRect(rect);
    draw(&context);
    for (CView* view : views)
    {
        if (!view->isVisible() || !view->getViewSize().rectOverlap(rect))
            continue;
        CRect clip = view->getViewSize();
        context.setClipRect(clip.bound(rect));
        view->draw(&context);
        view->setDirty(false);
    }
    if (modalView && modalView->getViewSize().rectOverlap(rect))
    {
        CRect clip = modalView->getViewSize();
        context.setClipRect(clip.bound(rect));
        modalView->draw(&context);
        modalView->setDirty(false);
    }
}

void CFrame::draw(CDrawContext* context)
{
    if (background)
        context->drawBitmap(background, CRect(0, 0, size.getWidth(), size.getHeight()));
    else
    {
        context->setFillColor(kBlackCColor);
        context->fillRect(CRect(0, 0, size.getWidth(), size.getHeight()));
    }
}

void CFrame::drawAll()
{
    const CRect all(0, 0, size.getWidth(), size.getHeight());
    redraw(all);
    allDirty = false;
    invalidRects.clear();
}

void CFrame::idle()
{
    if (!platform)
        return;
    remember(); // an event may close the frame
    handlingEvents = true;
    platform->processEvents();
    handlingEvents = false;
    if (!platform)
    {
        closedPlatform.reset();
        forget();
        return;
    }
    for (CView* view : views)
        if (view->isDirty() && view->isVisible())
            invalidRect(view->getViewSize());
    if (modalView && modalView->isDirty())
        invalidRect(modalView->getViewSize());
    if (allDirty)
    {
        const CRect all(0, 0, size.getWidth(), size.getHeight());
        drawAll();
        platform->present(buffer, std::span<const CRect>(&all, 1));
    }
    else if (!invalidRects.empty())
    {
        const std::vector<CRect> rects = std::move(invalidRects);
        invalidRects.clear();
        for (const auto& rect : rects)
            redraw(rect);
        platform->present(buffer, rects);
    }
    forget();
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (mouseDownView) // a press while another button is still held goes to the same view
        return mouseDownView->onMouseDown(where, buttons);
    remember();
    CView* target = hitView(where);
    if (focusView && target != focusView)
        setFocusView(nullptr);
    CMouseEventResult result = kMouseEventNotHandled;
    while (target)
    {
        target->remember(); // the handler may remove it
        result = target->onMouseDown(where, buttons);
        const bool stillHere = isChild(target) || modalView == target;
        if (result == kMouseEventHandled && stillHere)
            setMouseDownView(target);
        CView* next = handled(result) || !stillHere ? nullptr : hitView(where, target);
        target->forget();
        if (handled(result))
            break;
        target = next;
    }
    forget();
    return handled(result) ? result : kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    CMouseEventResult result = kMouseEventNotHandled;
    if (mouseDownView)
    {
        CView* view = mouseDownView;
        view->remember();
        result = view->onMouseUp(where, buttons);
        if (mouseDownView == view)
            setMouseDownView(nullptr);
        view->forget();
    }
    updateHover(where, CButtonState(buttons.getModifierState()));
    return result;
}

void CFrame::updateHover(CPoint& where, const CButtonState& buttons)
{
    CView* now = size.pointInside(where) ? hitView(where) : nullptr;
    if (now == hoverView)
        return;
    if (hoverView)
        hoverView->onMouseExited(where, buttons);
    hoverView = now;
    if (hoverView)
        hoverView->onMouseEntered(where, buttons);
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (mouseDownView)
    {
        CView* view = mouseDownView;
        view->remember();
        const CMouseEventResult result = view->onMouseMoved(where, buttons);
        view->forget();
        return result;
    }
    updateHover(where, buttons);
    if (hoverView)
        return hoverView->onMouseMoved(where, buttons);
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons)
{
    if (hoverView && !mouseDownView)
    {
        CView* view = hoverView;
        hoverView = nullptr;
        view->onMouseExited(where, buttons);
    }
    return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons)
{
    if (mouseDownView)
        return false;
    for (CView* view = hitView(where); view; view = hitView(where, view))
        if (view->onWheel(where, distance, buttons))
            return true;
    return false;
}

std::int32_t CFrame::onKeyDown(CKeyCode& key)
{
    if (focusView)
        return focusView->onKeyDown(key);
    if (modalView)
        return modalView->onKeyDown(key);
    return -1;
}

std::int32_t CFrame::onKeyUp(CKeyCode& key)
{
    if (focusView)
        return focusView->onKeyUp(key);
    if (modalView)
        return modalView->onKeyUp(key);
    return -1;
}

bool CFrame::isTypeOf(const char* type) const
{
    return std::strcmp(type, "CFrame") == 0 || CView::isTypeOf(type);
}
