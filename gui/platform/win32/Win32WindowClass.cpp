#include "gui/platform/win32/Win32WindowClass.h"

#include <mutex>

namespace gui::win32
{
const wchar_t kFrameWindowClass[] = L"TARVAFrameWindow";

namespace
{
// Editors may open on more than one user-interface thread of a host.
std::mutex classLock;
int windowsUsingClass = 0;

bool registerClass(HINSTANCE module, WNDPROC procedure) noexcept
{
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFrameWindowClass;
    if (RegisterClassW(&windowClass) != 0)
        return true;
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    // With no window of ours about, a class of this name at this module address is what an
    // earlier module left there: replace it, window procedure and all.
    return UnregisterClassW(kFrameWindowClass, module) && RegisterClassW(&windowClass) != 0;
}
} // namespace

bool acquireFrameWindowClass(HINSTANCE module, WNDPROC procedure) noexcept
{
    const std::lock_guard lock(classLock);
    if (windowsUsingClass == 0 && !registerClass(module, procedure))
        return false;
    ++windowsUsingClass;
    return true;
}

void releaseFrameWindowClass(HINSTANCE module) noexcept
{
    const std::lock_guard lock(classLock);
    if (windowsUsingClass > 0 && --windowsUsingClass == 0)
        UnregisterClassW(kFrameWindowClass, module);
}

void unregisterFrameWindowClass(HINSTANCE module) noexcept
{
    const std::lock_guard lock(classLock);
    UnregisterClassW(kFrameWindowClass, module);
    windowsUsingClass = 0;
}
} // namespace gui::win32
