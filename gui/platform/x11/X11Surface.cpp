#include "gui/platform/x11/X11Surface.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace gui
{
namespace
{
bool trappedError = false;
int noteError(Display*, XErrorEvent*)
{
    trappedError = true;
    return 0;
}
} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display(display)
{
    XSync(display, False);
    trappedError = false;
    previous = XSetErrorHandler(noteError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSync(display, False);
    XSetErrorHandler(previous);
}

bool X11ErrorTrap::failed()
{
    XSync(display, False);
    return trappedError;
}

X11Surface::X11Surface(Display* display, Visual* visual, int width, int height)
    : display(display), width(width), height(height)
{
    if (XShmQueryExtension(display) && !std::getenv("TARVA_NO_SHM"))
    {
        image = XShmCreateImage(display, visual, 24, ZPixmap, nullptr, &shm,
                                static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image)
        {
            shm.shmid =
                shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * height,
                       IPC_CREAT | 0600);
            void* address = shm.shmid >= 0 ? shmat(shm.shmid, nullptr, 0) : nullptr;
            if (address && address != reinterpret_cast<void*>(-1))
            {
                shm.shmaddr = image->data = static_cast<char*>(address);
                shm.readOnly = False;
                bool failed = false;
                {
                    X11ErrorTrap trap(display);
                    XShmAttach(display, &shm);
                    failed = trap.failed();
                }
                shmctl(shm.shmid, IPC_RMID, nullptr);
                if (!failed)
                {
                    shared = true;
                    return;
                }
                shmdt(shm.shmaddr);
            }
            else if (shm.shmid >= 0)
                shmctl(shm.shmid, IPC_RMID, nullptr);
            image->data = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
    }
    auto* data = static_cast<char*>(
        std::calloc(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 4));
    image = XCreateImage(display, visual, 24, ZPixmap, 0, data, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 32, 0);
    if (!image)
        std::free(data);
}

X11Surface::~X11Surface()
{
    if (!image)
        return;
    if (shared)
    {
        XShmDetach(display, &shm);
        XSync(display, False);
        shmdt(shm.shmaddr);
        image->data = nullptr;
    }
    XDestroyImage(image); // frees the plain image's pixels
}

void X11Surface::put(Drawable target, GC gc, const PixelBuffer& buffer, const CRect& rect)
{
    const int x0 = std::max(0, static_cast<int>(rect.left));
    const int y0 = std::max(0, static_cast<int>(rect.top));
    const int x1 = std::min({width, buffer.width, static_cast<int>(rect.right)});
    const int y1 = std::min({height, buffer.height, static_cast<int>(rect.bottom)});
    if (x1 <= x0 || y1 <= y0)
        return;
    const bool native = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                        image->red_mask == 0xff0000 && image->green_mask == 0xff00 &&
                        image->blue_mask == 0xff;
    for (int y = y0; y < y1; ++y)
    {
        const std::uint32_t* source = buffer.row(y) + x0;
        if (native)
            std::memcpy(image->data + static_cast<std::size_t>(y) * image->bytes_per_line +
                            static_cast<std::size_t>(x0) * 4,
                        source, static_cast<std::size_t>(x1 - x0) * 4);
        else
            for (int x = x0; x < x1; ++x)
                XPutPixel(image, x, y, source[x - x0] & 0xffffffu);
    }
    const auto w = static_cast<unsigned>(x1 - x0);
    const auto h = static_cast<unsigned>(y1 - y0);
    if (shared)
        XShmPutImage(display, target, gc, image, x0, y0, x0, y0, w, h, False);
    else
        XPutImage(display, target, gc, image, x0, y0, x0, y0, w, h);
}
} // namespace gui
