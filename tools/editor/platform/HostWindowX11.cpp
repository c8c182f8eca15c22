#include "HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <thread>

HostWindow::~HostWindow()
{
    close();
}

std::string HostWindow::open(int width, int height, const std::string& title)
{
    display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return "cannot open the X display (is DISPLAY set?)";
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = StructureNotifyMask;
    window = XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XStoreName(display, window, title.c_str());
    XClassHint* hint = XAllocClassHint();
    if (hint != nullptr)
    {
        hint->res_name = const_cast<char*>("tarva-editor");
        hint->res_class = const_cast<char*>("TarvaEditor");
        XSetClassHint(display, window, hint);
        XFree(hint);
    }
    // The editor has one size.
    XSizeHints* size = XAllocSizeHints();
    if (size != nullptr)
    {
        size->flags = PMinSize | PMaxSize;
        size->min_width = size->max_width = width;
        size->min_height = size->max_height = height;
        XSetWMNormalHints(display, window, size);
        XFree(size);
    }
    protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Atom wanted = deleteWindow;
    XSetWMProtocols(display, window, &wanted, 1);
    XMapWindow(display, window);
    // The editor's child window is made inside a mapped parent, as in any host.
    XEvent event;
    do
        XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    return "";
}

void* HostWindow::parentHandle() const noexcept
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

bool HostWindow::handleEvents()
{
    if (display == nullptr)
        return false;
    bool open = true;
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == protocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
            open = false;
        else if (event.type == DestroyNotify && event.xdestroywindow.window == window)
        {
            window = 0; // gone already: nothing to destroy later
            open = false;
        }
    }
    return open;
}

void HostWindow::run(std::chrono::microseconds period, const std::function<bool()>& idle)
{
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now();
    while (idle() && handleEvents())
    {
        due += period;
        const auto now = Clock::now();
        if (due < now) // a slow idle held the thread: carry on from here
            due = now;
        std::this_thread::sleep_until(due);
    }
}

void HostWindow::close()
{
    if (display == nullptr)
        return;
    if (window != 0)
        XDestroyWindow(display, window);
    XCloseDisplay(display);
    display = nullptr;
    window = 0;
}
