// tarva-editor's own top-level window, the parent the editor opens in: an X11 window on
// Linux, a Win32 window on Windows. On X11 it lives on the host's display connection; the
// plug-in opens a connection of its own.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#if !defined(_WIN32)
typedef struct _XDisplay Display;
#endif

class HostWindow
{
public:
    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Maps a window of that size that the user cannot resize (on X11 on the display named
    // by DISPLAY) and returns once it is on screen. Empty text on success.
    std::string open(int width, int height, const std::string& title);
    // The window, as the plug-in interface passes a parent window: pointer-sized.
    void* parentHandle() const noexcept;
    // Calls idle once per period, as a host's user-interface thread does, until idle
    // answers false or the window manager (or anyone) asks the window to close. On
    // Windows the calls come from a timer, so that they go on inside the modal loops of
    // the editor's menus and file dialogs, as they do in hosts.
    void run(std::chrono::microseconds period, const std::function<bool()>& idle);
    void close();

private:
#if defined(_WIN32)
    friend struct HostWindowProcedure;

    void* window = nullptr;                          // HWND
    const std::function<bool()>* idleCall = nullptr; // while run() runs
#else
    // Handles the host's own events without waiting; false once the window is to close.
    bool handleEvents();

    Display* display = nullptr;
    unsigned long window = 0;       // X11 Window
    unsigned long deleteWindow = 0; // the WM_DELETE_WINDOW atom
    unsigned long protocols = 0;    // WM_PROTOCOLS
#endif
};
