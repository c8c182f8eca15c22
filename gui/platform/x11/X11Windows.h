// X11 helpers shared by the editor's frame and the chooser's window: their display
// connection, the key an event means to our views, and the top-level window that holds
// one of ours.
#pragma once

#include "gui/CGraphics.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace gui
{
// A connection of its own to the X server, with the 24-bit true-colour visual our pixels
// are drawn for; null (nothing left open) when there is no display or no such visual.
Display* openTrueColorDisplay(XVisualInfo& visual);
CKeyCode keyCodeOf(XKeyEvent& event);
// The client's top-level window that holds window: the nearest ancestor a window manager
// manages (it has WM_STATE), else the one whose parent is the root. 0 when window is gone.
Window topLevelOf(Display* display, Window window);
} // namespace gui
