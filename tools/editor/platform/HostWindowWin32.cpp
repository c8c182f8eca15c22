#include "HostWindow.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace
{
const wchar_t kClassName[] = L"TarvaEditorHost";
constexpr UINT_PTR kIdleTimer = 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; // one size

std::wstring widen(const std::string& text)
{
    const int count =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
    return wide;
}

HWND handleOf(void* window)
{
    return static_cast<HWND>(window);
}
} // namespace

struct HostWindowProcedure
{
    static LRESULT CALLBACK call(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message)
        {
        case WM_TIMER:
            if (wParam != kIdleTimer || self == nullptr || self->idleCall == nullptr)
                break;
            if (!(*self->idleCall)())
            {
                KillTimer(window, kIdleTimer);
                PostQuitMessage(0);
            }
            return 0;
        case WM_CLOSE:
            // The editor closes first, then the window: run() returns, its caller does both.
            PostQuitMessage(0);
            return 0;
        default: break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

HostWindow::~HostWindow()
{
    close();
}

std::string HostWindow::open(int width, int height, const std::string& title)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindowProcedure::call;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return "cannot register the window class (error " + std::to_string(GetLastError()) + ")";
    RECT outer{0, 0, width, height}; // the editor fills the client area exactly
    AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
    HWND created = CreateWindowExW(0, kClassName, widen(title).c_str(), kStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, outer.right - outer.left,
                                   outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    if (created == nullptr)
        return "cannot create the window (error " + std::to_string(GetLastError()) +
               "; under wine, is DISPLAY set?)";
    window = created;
    SetWindowLongPtrW(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(created, SW_SHOWNORMAL);
    UpdateWindow(created);
    return "";
}

void* HostWindow::parentHandle() const noexcept
{
    return window;
}

void HostWindow::run(std::chrono::microseconds period, const std::function<bool()>& idle)
{
    if (window == nullptr)
        return;
    idleCall = &idle;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(period).count();
    SetTimer(handleOf(window), kIdleTimer, static_cast<UINT>(ms > 0 ? ms : 1), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(handleOf(window), kIdleTimer);
    idleCall = nullptr;
}

void HostWindow::close()
{
    if (window == nullptr)
        return;
    SetWindowLongPtrW(handleOf(window), GWLP_USERDATA, 0);
    DestroyWindow(handleOf(window));
    window = nullptr;
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}
