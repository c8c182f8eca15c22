// The X11 back end: a child of the host's window on the plug-in's own display connection.
// Nothing here waits for the user: idle handles whatever is queued and returns. The popup
// menu is one more window whose events idle handles, and the file chooser (the desktop's,
// a separate program, or our own window) is polled by idle until it has an answer.
#include "gui/platform/NativeFrame.h"

#include "gui/CFrame.h"
#include "gui/PopupMenuView.h"
#include "gui/platform/x11/BuiltInFileChooser.h"
#include "gui/platform/x11/ExternalFileDialog.h"
#include "gui/platform/x11/FileChooserChain.h"
#include "gui/platform/x11/PortalFileChooser.h"
#include "gui/platform/x11/X11Surface.h"
#include "gui/platform/x11/X11Windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

namespace
{
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                            StructureNotifyMask;
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;

using ErrorTrap = gui::X11ErrorTrap;
using Surface = gui::X11Surface;

std::int32_t modifiersOf(unsigned int state)
{
    std::int32_t bits = 0;
    if (state & ShiftMask)
        bits |= kShift;
    if (state & ControlMask)
        bits |= kControl;
    if (state & Mod1Mask)
        bits |= kAlt;
    return bits;
}

std::int32_t buttonsOf(unsigned int state)
{
    std::int32_t bits = modifiersOf(state);
    if (state & Button1Mask)
        bits |= kLButton;
    if (state & Button2Mask)
        bits |= kMButton;
    if (state & Button3Mask)
        bits |= kRButton;
    return bits;
}

std::int32_t buttonBit(unsigned int button)
{
    switch (button)
    {
    case Button1: return kLButton;
    case Button2: return kMButton;
    case Button3: return kRButton;
    default: return 0;
    }
}

// The popup: an override-redirect window at the control, in columns, drawn with the same
// software renderer. It holds the pointer and the keyboard while it is up, and its events
// come through the frame's event handling like any other. A press and release on an entry
// chooses it; a press outside, or Escape, cancels.
class PopupMenuWindow
{
public:
    PopupMenuWindow(Display* display, const XVisualInfo& visual, Colormap colormap, GC gc,
                    Window owner, PopupMenuRequest menu, Time openingPress);
    // Lets go of the pointer and the keyboard and takes the window away.
    ~PopupMenuWindow();
    PopupMenuWindow(const PopupMenuWindow&) = delete;
    PopupMenuWindow& operator=(const PopupMenuWindow&) = delete;

    Window getWindow() const noexcept { return popup; }
    // One of the popup's events; the answer once the menu is done: the chosen entry, or -1.
    std::optional<int> handle(XEvent& event);

private:
    // The release of the press that opened the menu chooses only after a drag: a click
    // on the control leaves the menu up.
    static constexpr Time kOpeningReleaseMs = 300;

    void paint();

    Display* display;
    GC gc;
    PopupMenuView view;
    Window popup = 0;
    std::unique_ptr<Surface> surface;
    PixelBuffer pixels;
    bool pressedInside = false;
    Time opened;
};

PopupMenuWindow::PopupMenuWindow(Display* display, const XVisualInfo& visual, Colormap colormap,
                                 GC gc, Window owner, PopupMenuRequest menu, Time openingPress)
    : display(display), gc(gc), view(std::move(menu)), opened(openingPress)
{
    const PopupMenuRequest& request = view.getRequest();
    const int menuWidth = view.getWidth();
    const int menuHeight = view.getHeight();
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(
        display, owner, root, static_cast<int>(request.anchor.left),
        static_cast<int>(request.overAnchor ? request.anchor.top : request.anchor.bottom), &rootX,
        &rootY, &child);
    const int screenWidth = DisplayWidth(display, screen);
    const int screenHeight = DisplayHeight(display, screen);
    rootX = std::clamp(rootX, 0, std::max(0, screenWidth - menuWidth));
    rootY = std::clamp(rootY, 0, std::max(0, screenHeight - menuHeight));

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.colormap = colormap;
    attributes.border_pixel = 0;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    popup =
        XCreateWindow(display, root, rootX, rootY, static_cast<unsigned>(menuWidth),
                      static_cast<unsigned>(menuHeight), 0, 24, InputOutput, visual.visual,
                      CWOverrideRedirect | CWColormap | CWBorderPixel | CWEventMask, &attributes);
    surface = std::make_unique<Surface>(display, visual.visual, menuWidth, menuHeight);
    pixels = PixelBuffer(menuWidth, menuHeight);

    XMapRaised(display, popup);
    XSync(display, False);
    XGrabPointer(display, popup, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                 GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(display, popup, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    paint();
}

PopupMenuWindow::~PopupMenuWindow()
{
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    surface.reset();
    XDestroyWindow(display, popup);
    XSync(display, False);
}

void PopupMenuWindow::paint()
{
    view.paint(pixels);
    surface->put(popup, gc, pixels, CRect(0, 0, view.getWidth(), view.getHeight()));
    XSync(display, False);
}

std::optional<int> PopupMenuWindow::handle(XEvent& event)
{
    switch (event.type)
    {
    case Expose: paint(); break;
    case MotionNotify:
        if (view.setHighlighted(view.itemAt(event.xmotion.x, event.xmotion.y)))
            paint();
        break;
    case ButtonPress:
        pressedInside = view.contains(event.xbutton.x, event.xbutton.y);
        if (!pressedInside)
            return -1;
        break;
    case ButtonRelease:
    {
        const int index = view.itemAt(event.xbutton.x, event.xbutton.y);
        // Server times, so that a host calling idle slowly changes nothing.
        const bool opening = !pressedInside && event.xbutton.time - opened < kOpeningReleaseMs;
        if (index >= 0 && !opening)
            return index;
        break;
    }
    case KeyPress:
    {
        const KeySym sym = XLookupKeysym(&event.xkey, 0);
        if (sym == XK_Escape)
            return -1;
        if (sym == XK_Return || sym == XK_KP_Enter)
            return view.getHighlighted();
        if (sym == XK_Down || sym == XK_Up)
        {
            view.walk(sym == XK_Down);
            paint();
        }
        break;
    }
    default: break;
    }
    return std::nullopt;
}

class X11Frame : public IPlatformFrame
{
public:
    X11Frame(Display* display, const XVisualInfo& visual, Window parent, CFrame* frame,
             const CRect& size)
        : display(display), visual(visual), frame(frame), width(static_cast<int>(size.getWidth())),
          height(static_cast<int>(size.getHeight()))
    {
        colormap = XCreateColormap(display, parent, visual.visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.colormap = colormap;
        attributes.background_pixel = 0;
        attributes.border_pixel = 0;
        attributes.event_mask = kEventMask;
        ErrorTrap trap(display);
        window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), 0, 24, InputOutput, visual.visual,
                               CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
        gc = XCreateGC(display, window, 0, nullptr);
        surface = std::make_unique<Surface>(display, visual.visual, width, height);
        XMapWindow(display, window);
        created = !trap.failed();
    }

    ~X11Frame() override
    {
        {
            ErrorTrap trap(display); // the host may have destroyed its window first
            onFrameClosed();
            surface.reset();
            XFreeGC(display, gc);
            XDestroyWindow(display, window);
            XFreeColormap(display, colormap);
        }
        XCloseDisplay(display);
    }

    bool valid() const { return created && surface && surface->valid(); }
    Window getWindow() const { return window; }

    void present(const PixelBuffer& buffer, std::span<const CRect> rects) override
    {
        for (const auto& rect : rects)
            surface->put(window, gc, buffer, rect);
        // With shared memory the server reads our pixels later: wait until it has, so the
        // next redraw cannot change them under it.
        if (surface->isShared())
            XSync(display, False);
        else
            XFlush(display);
    }

    void processEvents() override
    {
        while (frame && XPending(display) > 0)
        {
            XEvent event;
            XNextEvent(display, &event);
            if (popup && event.xany.window == popup->getWindow())
            {
                if (const auto chosen = popup->handle(event))
                    popupClosed(*chosen);
            }
            else if (!popup || !isInput(event))
                handle(event); // the frame's mouse and keys wait until the menu is gone
        }
        if (frame && fileDialog && fileDialog->poll())
            fileChosen();
    }

    // Where the pointer is, or where it left the window while it is elsewhere: outside
    // the frame, over no view. The editor's idle needs a position to carry on with its
    // meter and lamps, so it never fails while the window exists.
    bool getCurrentMousePosition(CPoint& where) const override
    {
        where = mouse;
        return true;
    }

    // A closed frame asks for nothing more; a second menu or selector while one is up is
    // refused with the cancel answer.
    void popupMenu(const PopupMenuRequest& request, PopupMenuCompletion completion) override
    {
        if (!frame)
            return;
        if (popup || request.items.empty())
        {
            completion(-1);
            return;
        }
        popup = std::make_unique<PopupMenuWindow>(display, visual, colormap, gc, window, request,
                                                  pressTime);
        popupDone = std::move(completion);
    }

    void chooseFile(const FileSelectorRequest& request, FileSelectorCompletion completion) override
    {
        if (!frame)
            return;
        if (fileDialog)
        {
            completion(std::nullopt);
            return;
        }
        auto dialog = std::make_unique<gui::FileChooserChain>(
            fileChooserWays(gui::topLevelOf(display, window)));
        if (!dialog->start(request))
        {
            completion(std::nullopt);
            return;
        }
        fileDialog = std::move(dialog);
        fileDone = std::move(completion);
    }

    // The popup goes with its grabs, and the selector's program is ended and reaped; their
    // completions are destroyed uncalled, and with them what they kept alive.
    void onFrameClosed() override
    {
        frame = nullptr;
        popup.reset();
        popupDone = nullptr;
        fileDialog.reset();
        fileDone = nullptr;
    }

private:
    static bool isInput(const XEvent& event)
    {
        switch (event.type)
        {
        case ButtonPress:
        case ButtonRelease:
        case MotionNotify:
        case EnterNotify:
        case LeaveNotify:
        case KeyPress:
        case KeyRelease: return true;
        default: return false;
        }
    }

    // Each completion is taken out before it runs: it may open the next menu, or close the
    // frame, which must then find nothing of this one left.
    void popupClosed(int chosen)
    {
        popup.reset();
        const PopupMenuCompletion done = std::move(popupDone);
        popupDone = nullptr;
        if (done)
            done(chosen);
    }

    void fileChosen()
    {
        std::optional<std::string> chosen = fileDialog->chosen();
        fileDialog.reset();
        const FileSelectorCompletion done = std::move(fileDone);
        fileDone = nullptr;
        if (done)
            done(std::move(chosen));
    }

    // The desktop's own chooser first, then the programs, then ours, which always works
    // where there is a display.
    static std::vector<gui::FileChooserChain::Maker> fileChooserWays(Window parent)
    {
        return {
            [parent]
            {
                return std::make_unique<gui::PortalFileChooser>(
                    parent ? gui::portalParentWindow(parent) : std::string());
            },
            [] { return std::make_unique<gui::ExternalFileDialog>(); },
            [parent] { return std::make_unique<gui::BuiltInFileChooser>(parent); },
        };
    }

    void handle(XEvent& event);

    Display* display;
    XVisualInfo visual;
    CFrame* frame;
    int width;
    int height;
    Colormap colormap = 0;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<Surface> surface;
    bool created = false;
    CPoint mouse{-1, -1}; // outside until the pointer enters
    Time lastPressTime = 0;
    unsigned lastPressButton = 0;
    CPoint lastPress;
    Time pressTime = CurrentTime; // of the press being handled, which may open a menu
    std::unique_ptr<PopupMenuWindow> popup;
    PopupMenuCompletion popupDone;
    std::unique_ptr<gui::FileChooser> fileDialog;
    FileSelectorCompletion fileDone;
};

void X11Frame::handle(XEvent& event)
{
    if (event.xany.window != window)
        return; // a popup's late events, after it has gone
    switch (event.type)
    {
    case Expose:
        frame->invalidRect(CRect(event.xexpose.x, event.xexpose.y,
                                 event.xexpose.x + event.xexpose.width,
                                 event.xexpose.y + event.xexpose.height));
        break;
    case ButtonPress:
    {
        const auto& b = event.xbutton;
        mouse = CPoint(b.x, b.y);
        if (b.button == Button4 || b.button == Button5)
        {
            frame->onWheel(mouse, b.button == Button4 ? 1.0f : -1.0f,
                           CButtonState(buttonsOf(b.state)));
            break;
        }
        const std::int32_t bit = buttonBit(b.button);
        if (!bit)
            break;
        std::int32_t state = buttonsOf(b.state) | bit;
        if (b.button == lastPressButton && b.time - lastPressTime <= kDoubleClickMs &&
            std::abs(mouse.x - lastPress.x) <= kDoubleClickDistance &&
            std::abs(mouse.y - lastPress.y) <= kDoubleClickDistance)
        {
            state |= kDoubleClick;
            lastPressButton = 0; // a third click starts again
        }
        else
        {
            lastPressButton = b.button;
            lastPressTime = b.time;
            lastPress = mouse;
        }
        CPoint where = mouse;
        pressTime = b.time;
        frame->onMouseDown(where, CButtonState(state));
        if (frame && frame->getFocusView()) // a text field wants the keyboard
            XSetInputFocus(display, window, RevertToParent, b.time);
        break;
    }
    case ButtonRelease:
    {
        const auto& b = event.xbutton;
        mouse = CPoint(b.x, b.y);
        const std::int32_t bit = buttonBit(b.button);
        if (!bit)
            break;
        CPoint where = mouse;
        frame->onMouseUp(where, CButtonState((buttonsOf(b.state) & ~bit) | modifiersOf(b.state)));
        break;
    }
    case MotionNotify:
    {
        // Only the latest of consecutive moves matters; a press or release in between
        // keeps its place.
        while (XPending(display) > 0)
        {
            XEvent next;
            XPeekEvent(display, &next);
            if (next.type != MotionNotify || next.xany.window != window)
                break;
            XNextEvent(display, &event);
        }
        const auto& m = event.xmotion;
        mouse = CPoint(m.x, m.y);
        CPoint where = mouse;
        frame->onMouseMoved(where, CButtonState(buttonsOf(m.state)));
        break;
    }
    case EnterNotify: mouse = CPoint(event.xcrossing.x, event.xcrossing.y); break;
    case LeaveNotify:
    {
        mouse = CPoint(event.xcrossing.x, event.xcrossing.y);
        CPoint where = mouse;
        frame->onMouseExited(where, CButtonState(buttonsOf(event.xcrossing.state)));
        break;
    }
    case KeyPress:
    {
        CKeyCode key = gui::keyCodeOf(event.xkey);
        frame->onKeyDown(key);
        break;
    }
    case KeyRelease:
    {
        CKeyCode key = gui::keyCodeOf(event.xkey);
        frame->onKeyUp(key);
        break;
    }
    default: break;
    }
}

} // namespace

namespace gui
{
std::unique_ptr<IPlatformFrame> createNativeFrame(void* parent, CFrame* frame, const CRect& size)
{
    XVisualInfo visual{};
    Display* display = openTrueColorDisplay(visual);
    if (!display)
        return nullptr;
    const auto parentWindow = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    auto native = std::make_unique<X11Frame>(display, visual, parentWindow, frame, size);
    if (!native->valid())
        return nullptr;
    return native;
}
} // namespace gui
