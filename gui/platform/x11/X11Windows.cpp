#include "gui/platform/x11/X11Windows.h"

#include "gui/platform/x11/X11Surface.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdint>

namespace gui
{
namespace
{
// The keys our views know by name; everything else is a character or nothing.
constexpr struct
{
    KeySym sym;
    VirtualKey key;
} kNamedKeys[] = {
    {XK_BackSpace, VKEY_BACK},
    {XK_Tab, VKEY_TAB},
    {XK_ISO_Left_Tab, VKEY_TAB},
    {XK_Return, VKEY_RETURN},
    {XK_KP_Enter, VKEY_ENTER},
    {XK_Escape, VKEY_ESCAPE},
    {XK_Delete, VKEY_DELETE},
    {XK_KP_Delete, VKEY_DELETE},
    {XK_Left, VKEY_LEFT},
    {XK_KP_Left, VKEY_LEFT},
    {XK_Right, VKEY_RIGHT},
    {XK_KP_Right, VKEY_RIGHT},
    {XK_Up, VKEY_UP},
    {XK_KP_Up, VKEY_UP},
    {XK_Down, VKEY_DOWN},
    {XK_KP_Down, VKEY_DOWN},
    {XK_Home, VKEY_HOME},
    {XK_KP_Home, VKEY_HOME},
    {XK_End, VKEY_END},
    {XK_KP_End, VKEY_END},
    {XK_Page_Up, VKEY_PAGEUP},
    {XK_KP_Page_Up, VKEY_PAGEUP},
    {XK_Page_Down, VKEY_PAGEDOWN},
    {XK_KP_Page_Down, VKEY_PAGEDOWN},
};

} // namespace

Display* openTrueColorDisplay(XVisualInfo& visual)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    if (!XMatchVisualInfo(display, DefaultScreen(display), 24, TrueColor, &visual))
    {
        XCloseDisplay(display);
        return nullptr;
    }
    return display;
}

CKeyCode keyCodeOf(XKeyEvent& event)
{
    char text[8] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &sym, nullptr);
    CKeyCode key;
    if (event.state & ShiftMask)
        key.modifier |= kKeyShift;
    if (event.state & Mod1Mask)
        key.modifier |= kKeyAlternate;
    if (event.state & ControlMask)
        key.modifier |= kKeyCommand; // as on Windows: Ctrl is the command key
    for (const auto& named : kNamedKeys)
        if (named.sym == sym)
        {
            key.virt = named.key;
            return key;
        }
    if (sym >= 0x20 && sym <= 0xff) // Latin-1 keysyms are their code points
        key.character = static_cast<std::int32_t>(sym);
    else if ((sym & 0xff000000) == 0x01000000) // Unicode keysyms
        key.character = static_cast<std::int32_t>(sym & 0x00ffffff);
    else if (length == 1 && static_cast<unsigned char>(text[0]) >= 0x20)
        key.character = static_cast<unsigned char>(text[0]);
    return key;
}

Window topLevelOf(Display* display, Window window)
{
    X11ErrorTrap trap(display); // the host may have closed its window
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Window topLevel = 0;
    for (Window at = window; at != 0;)
    {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, at, &root, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, at, wmState, 0, 0, False, AnyPropertyType, &type, &format,
                           &items, &after, &data);
        if (data)
            XFree(data);
        if (type != None)
            return at;
        topLevel = at;
        at = parent == root ? 0 : parent;
    }
    return trap.failed() ? 0 : topLevel;
}

} // namespace gui
