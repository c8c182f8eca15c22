// What every window of ours on X11 needs: a trap for requests that may fail, and the
// window's pixels, uploaded from the software renderer's buffer.
#pragma once

#include "gui/CGraphics.h"
#include "gui/PixelBuffer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace gui
{
// Xlib's default error handler ends the process, which would take the host down with it.
// Around requests that may fail (attaching shared memory, a parent window that is already
// gone) a handler that only notes the error is installed, and the previous one restored.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
    // Whether a request since the trap was set failed.
    bool failed();

private:
    Display* display;
    int (*previous)(Display*, XErrorEvent*);
};

// A window's pixels: an XImage, in shared memory when the server offers it.
class X11Surface
{
public:
    X11Surface(Display* display, Visual* visual, int width, int height);
    ~X11Surface();
    X11Surface(const X11Surface&) = delete;
    X11Surface& operator=(const X11Surface&) = delete;

    bool valid() const noexcept { return image != nullptr; }
    // With shared memory the server reads the pixels after put returns: the caller waits
    // (XSync) before changing them again.
    bool isShared() const noexcept { return shared; }

    void put(Drawable target, GC gc, const PixelBuffer& buffer, const CRect& rect);

private:
    Display* display;
    int width;
    int height;
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool shared = false;
};
} // namespace gui
