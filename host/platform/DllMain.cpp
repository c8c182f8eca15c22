// The Windows plug-in module's load and unload notice. Unloading by FreeLibrary (no
// reserved pointer) gives back the editor's window class, which a host that destroyed the
// editor's window with its own without closing the editor would otherwise leave behind.
// At process exit nothing is done: other threads are gone, perhaps holding our locks.
#include "gui/platform/win32/Win32WindowClass.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(module); // no work per thread
    else if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        gui::win32::unregisterFrameWindowClass(module);
    return TRUE;
}
