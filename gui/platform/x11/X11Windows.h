// X11 helpers shared by the editor's frame and the chooser's window: the key an event
// means to our views, and the top-level window that holds one of ours.
#pragma once

#include "gui/CGraphics.h"

#include <X11/Xlib.h>

namespace gui
{
CKeyCode keyCodeOf(XKeyEvent& event);
// The client's top-level window that holds window: the nearest ancestor a window manager
// manages (it has WM_STATE), else the one whose parent is the root. 0 when window is gone.
Window topLevelOf(Display* display, Window window);
} // namespace gui
