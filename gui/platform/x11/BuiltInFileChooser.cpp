#include "gui/platform/x11/BuiltInFileChooser.h"

#include "gui/platform/x11/X11Windows.h"

#include "gui/CDrawContext.h"
#include "gui/FileChooserPanel.h"
#include "gui/platform/x11/X11Surface.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gui
{
namespace
{
constexpr long kEventMask =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | StructureNotifyMask;
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;
constexpr unsigned long kPanelPixel = 0xececec; // until the first drawing arrives

void setUtf8Property(Display* display, Window window, const char* name, const std::string& text)
{
    XChangeProperty(display, window, XInternAtom(display, name, False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.c_str()),
                    static_cast<int>(text.size()));
}
} // namespace

// The panel's window on a display connection of its own.
class ChooserWindow
{
public:
    // Null when there is no X display, or no 24-bit colour on it.
    static std::unique_ptr<ChooserWindow> open(FileChooserPanel& panel, const std::string& title,
                                               Window owner);
    ~ChooserWindow();
    ChooserWindow(const ChooserWindow&) = delete;
    ChooserWindow& operator=(const ChooserWindow&) = delete;

    // Hands whatever is queued to the panel, never waiting, and shows what it changed.
    void poll();

private:
    ChooserWindow(Display* display, const XVisualInfo& visual, FileChooserPanel& panel,
                  const std::string& title, Window owner);
    void describe(const std::string& title, Window owner, int x, int y);
    void handle(XEvent& event);
    void press(const XButtonEvent& press);
    void redraw();

    Display* display;
    FileChooserPanel& panel;
    int width;
    int height;
    Colormap colormap = 0;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<X11Surface> surface;
    PixelBuffer pixels;
    Atom deleteWindow = None;
    Time lastPressTime = 0;
    CPoint lastPress{-100, -100};
};

std::unique_ptr<ChooserWindow> ChooserWindow::open(FileChooserPanel& panel,
                                                   const std::string& title, Window owner)
{
    XVisualInfo visual{};
    Display* display = openTrueColorDisplay(visual);
    if (!display)
        return nullptr;
    return std::unique_ptr<ChooserWindow>(new ChooserWindow(display, visual, panel, title, owner));
}

ChooserWindow::ChooserWindow(Display* display, const XVisualInfo& visual, FileChooserPanel& panel,
                             const std::string& title, Window owner)
    : display(display), panel(panel), width(static_cast<int>(panel.getSize().x)),
      height(static_cast<int>(panel.getSize().y)), pixels(width, height)
{
    // Centred over the plug-in's window, else on the screen.
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    int centreX = DisplayWidth(display, screen) / 2;
    int centreY = DisplayHeight(display, screen) / 2;
    if (const Window topLevel = owner ? topLevelOf(display, owner) : 0)
    {
        X11ErrorTrap trap(display);
        XWindowAttributes attributes{};
        Window child = 0;
        if (XGetWindowAttributes(display, topLevel, &attributes))
            XTranslateCoordinates(display, topLevel, root, attributes.width / 2,
                                  attributes.height / 2, &centreX, &centreY, &child);
        owner = trap.failed() ? 0 : topLevel;
    }
    const int x =
        std::clamp(centreX - width / 2, 0, std::max(0, DisplayWidth(display, screen) - width));
    const int y =
        std::clamp(centreY - height / 2, 0, std::max(0, DisplayHeight(display, screen) - height));

    colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.background_pixel = kPanelPixel;
    attributes.border_pixel = 0;
    attributes.event_mask = kEventMask;
    window = XCreateWindow(display, root, x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, 24, InputOutput, visual.visual,
                           CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    gc = XCreateGC(display, window, 0, nullptr);
    surface = std::make_unique<X11Surface>(display, visual.visual, width, height);
    describe(title, owner, x, y);
    XMapRaised(display, window);
    XFlush(display);
}

// What the window manager reads: title, fixed size, place, a dialog of the owner's, and
// that closing it is ours to handle.
void ChooserWindow::describe(const std::string& title, Window owner, int x, int y)
{
    XSizeHints* size = XAllocSizeHints();
    size->flags = PPosition | PSize | PMinSize | PMaxSize;
    size->x = x;
    size->y = y;
    size->width = size->min_width = size->max_width = width;
    size->height = size->min_height = size->max_height = height;
    XWMHints* hints = XAllocWMHints();
    hints->flags = InputHint | StateHint;
    hints->input = True;
    hints->initial_state = NormalState;
    XClassHint* kind = XAllocClassHint();
    char resourceName[] = "tarva-file-chooser";
    char resourceClass[] = "Tarva";
    kind->res_name = resourceName;
    kind->res_class = resourceClass;
    Xutf8SetWMProperties(display, window, title.c_str(), title.c_str(), nullptr, 0, size, hints,
                         kind);
    XFree(size);
    XFree(hints);
    XFree(kind);
    setUtf8Property(display, window, "_NET_WM_NAME", title);
    setUtf8Property(display, window, "_NET_WM_ICON_NAME", title);
    Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(&dialog), 1);
    if (owner)
        XSetTransientForHint(display, window, owner);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

ChooserWindow::~ChooserWindow()
{
    surface.reset();
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    XFreeColormap(display, colormap);
    XCloseDisplay(display); // sends the requests above before it returns
}

void ChooserWindow::poll()
{
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
    redraw();
}

void ChooserWindow::handle(XEvent& event)
{
    switch (event.type)
    {
    case Expose:
        panel.invalidRect(CRect(event.xexpose.x, event.xexpose.y,
                                event.xexpose.x + event.xexpose.width,
                                event.xexpose.y + event.xexpose.height));
        break;
    case MapNotify:
    {
        // A bare X server has no window manager to give the new window the keyboard, and
        // the name is typed at once.
        X11ErrorTrap trap(display);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        break;
    }
    case ButtonPress: press(event.xbutton); break;
    case ButtonRelease:
        if (event.xbutton.button == Button1)
            panel.onMouseUp(CPoint(event.xbutton.x, event.xbutton.y), CButtonState(kLButton));
        break;
    case KeyPress: panel.onKeyDown(keyCodeOf(event.xkey)); break;
    case ClientMessage:
        if (event.xclient.format == 32 &&
            static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
            panel.cancel();
        break;
    default: break;
    }
}

void ChooserWindow::press(const XButtonEvent& press)
{
    const CPoint where(press.x, press.y);
    if (press.button == Button4 || press.button == Button5)
    {
        panel.onWheel(where, press.button == Button4 ? 1.0f : -1.0f);
        return;
    }
    if (press.button != Button1)
        return;
    // Server times, so that a host calling idle slowly changes nothing.
    std::int32_t state = kLButton;
    if (press.time - lastPressTime <= kDoubleClickMs &&
        std::abs(where.x - lastPress.x) <= kDoubleClickDistance &&
        std::abs(where.y - lastPress.y) <= kDoubleClickDistance)
    {
        state |= kDoubleClick;
        lastPress = CPoint(-100, -100); // a third click starts again
    }
    else
    {
        lastPress = where;
        lastPressTime = press.time;
    }
    panel.onMouseDown(where, CButtonState(state));
}

void ChooserWindow::redraw()
{
    CRect changed = panel.getDirtyRect();
    if (changed.isEmpty())
        return;
    changed.makeIntegral();
    CDrawContext context(pixels);
    context.setClipRect(changed);
    panel.draw(context);
    surface->put(window, gc, pixels, changed);
    // With shared memory the server reads our pixels later: wait until it has, so the
    // next redraw cannot change them under it.
    if (surface->isShared())
        XSync(display, False);
    else
        XFlush(display);
}

BuiltInFileChooser::BuiltInFileChooser(unsigned long owner) : owner(owner) {}

BuiltInFileChooser::~BuiltInFileChooser() = default;

bool BuiltInFileChooser::start(const FileSelectorRequest& request)
{
    return show(std::make_unique<FileChooserPanel>(request), request.title);
}

bool BuiltInFileChooser::startReplaceQuestion(const FileSelectorRequest& request,
                                              const std::string& path)
{
    return show(std::make_unique<FileChooserPanel>(request, path), request.title);
}

bool BuiltInFileChooser::show(std::unique_ptr<FileChooserPanel> chooser, const std::string& title)
{
    if (window)
        return false;
    auto opened = ChooserWindow::open(*chooser, title, static_cast<Window>(owner));
    if (!opened)
        return false;
    panel = std::move(chooser);
    window = std::move(opened);
    answer.reset();
    return true;
}

bool BuiltInFileChooser::poll()
{
    if (!window)
        return true;
    window->poll();
    if (!panel->isDone())
        return false;
    answer = panel->chosen();
    window.reset(); // the window goes as soon as the answer is in
    return true;
}
} // namespace gui
