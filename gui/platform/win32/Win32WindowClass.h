// The window class of the editor's windows. A class belongs to the module that registers
// it, and the system keeps it until it is unregistered: one left behind when the module is
// unloaded would hand a later module loaded at the same address a window procedure that
// is no longer there. So the module holds the class only while one of its windows needs it.
#pragma once

#include <windows.h>

namespace gui::win32
{
extern const wchar_t kFrameWindowClass[];

// Before a window of the class is made: registers the class for the module when no window
// of it exists. False when the class cannot be had.
bool acquireFrameWindowClass(HINSTANCE module, WNDPROC procedure) noexcept;
// After that window is destroyed: the last one unregisters the class.
void releaseFrameWindowClass(HINSTANCE module) noexcept;
// When the module is unloaded: unregisters the class whatever the count says, for a host
// that destroyed the editor's window with its own and never closed the editor.
void unregisterFrameWindowClass(HINSTANCE module) noexcept;
} // namespace gui::win32
