// tarva-editor's own top-level X11 window, the parent the editor opens in. It lives on
// the host's display connection; the plug-in opens a connection of its own.
#pragma once

#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

class HostWindow
{
public:
    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Connects to the display named by DISPLAY and maps a window of that size that the
    // user cannot resize; returns once the server has mapped it. Empty text on success.
    std::string open(int width, int height, const std::string& title);
    // The window's id, as the plug-in interface passes a parent window: pointer-sized.
    void* parentHandle() const noexcept;
    // Handles the host's own events without waiting; false once the window manager (or
    // anyone) asked the window to close.
    bool handleEvents();
    void close();

private:
    Display* display = nullptr;
    unsigned long window = 0;       // X11 Window
    unsigned long deleteWindow = 0; // the WM_DELETE_WINDOW atom
    unsigned long protocols = 0;    // WM_PROTOCOLS
};
