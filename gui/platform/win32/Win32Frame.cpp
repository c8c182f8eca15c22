// The Win32 back end: a WS_CHILD window in the host's HWND, painted from the frame's
// buffer with StretchDIBits; TrackPopupMenu for menus and the common file dialogs. Those
// run modal loops of their own that keep dispatching the host's messages, so the host
// never stops; their answers go to the completions before the calls return.
#include "gui/platform/NativeFrame.h"

#include "gui/CFrame.h"
#include "gui/platform/win32/Win32WindowClass.h"

#include <windows.h>

// After windows.h, which they need.
#include <commdlg.h>
#include <windowsx.h>

#include <memory>
#include <string>

namespace
{
std::wstring widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string narrow(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::int32_t modifiers()
{
    std::int32_t bits = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        bits |= kShift;
    if (GetKeyState(VK_CONTROL) < 0)
        bits |= kControl;
    if (GetKeyState(VK_MENU) < 0)
        bits |= kAlt;
    return bits;
}

std::int32_t buttonsOf(WPARAM wParam)
{
    std::int32_t bits = modifiers();
    if (wParam & MK_LBUTTON)
        bits |= kLButton;
    if (wParam & MK_MBUTTON)
        bits |= kMButton;
    if (wParam & MK_RBUTTON)
        bits |= kRButton;
    return bits;
}

class Win32Frame : public IPlatformFrame
{
public:
    Win32Frame(HWND parent, CFrame* frame, const CRect& size) : frame(frame)
    {
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&windowProc), &module);
        classAcquired = gui::win32::acquireFrameWindowClass(module, windowProc);
        if (!classAcquired)
            return;
        window = CreateWindowExW(
            0, gui::win32::kFrameWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
            static_cast<int>(size.getWidth()), static_cast<int>(size.getHeight()), parent, nullptr,
            module, nullptr);
        if (window)
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Win32Frame() override
    {
        onFrameClosed();
        // Null when the host destroyed its own window, and ours with it, first.
        if (window)
        {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
        if (classAcquired)
            gui::win32::releaseFrameWindowClass(module);
    }
    bool valid() const { return window != nullptr; }

    void present(const PixelBuffer& buffer, std::span<const CRect> rects) override
    {
        if (!window)
            return; // a null window's DC would be the whole screen's
        HDC dc = GetDC(window);
        for (const auto& rect : rects)
            blit(dc, buffer, rect);
        ReleaseDC(window, dc);
    }

    // Windows delivers messages to the window procedure through the host's own loop.
    void processEvents() override {}

    // Outside the window too: the editor's idle needs a position to carry on with its
    // meter and lamps.
    bool getCurrentMousePosition(CPoint& where) const override
    {
        POINT p;
        if (!GetCursorPos(&p) || !ScreenToClient(window, &p))
            return false;
        where = CPoint(p.x, p.y);
        return true;
    }

    // The host may close the editor from inside the modal loops, destroying this object
    // before they return: each call keeps the flag that says so, and touches nothing of
    // the object, nor calls its completion, once it is down.
    void onFrameClosed() override
    {
        if (*open && trackingMenu)
            EndMenu();
        *open = false;
    }

    void popupMenu(const PopupMenuRequest& request, PopupMenuCompletion completion) override
    {
        if (!*open)
            return;
        if (trackingMenu)
        {
            completion(-1);
            return;
        }
        HMENU menu = CreatePopupMenu();
        const int count = static_cast<int>(request.items.size());
        for (int i = 0; i < count; ++i)
        {
            const auto& item = request.items[static_cast<std::size_t>(i)];
            UINT flags = item.separator ? MF_SEPARATOR : MF_STRING;
            if (item.checked)
                flags |= MF_CHECKED;
            if (!item.enabled)
                flags |= MF_GRAYED;
            if (request.itemsPerColumn > 0 && i > 0 && i % request.itemsPerColumn == 0)
                flags |= MF_MENUBARBREAK;
            AppendMenuW(menu, flags, static_cast<UINT_PTR>(i + 1), widen(item.title).c_str());
        }
        POINT at{
            static_cast<LONG>(request.anchor.left),
            static_cast<LONG>(request.overAnchor ? request.anchor.top : request.anchor.bottom)};
        ClientToScreen(window, &at);
        const std::shared_ptr<bool> stillOpen = open;
        trackingMenu = true;
        const int chosen =
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                           at.y, 0, window, nullptr);
        DestroyMenu(menu);
        if (!*stillOpen)
            return;
        trackingMenu = false;
        completion(chosen - 1);
    }

    void chooseFile(const FileSelectorRequest& request, FileSelectorCompletion completion) override
    {
        if (!*open)
            return;
        if (choosingFile)
        {
            completion(std::nullopt);
            return;
        }
        // Filters as "description (*.ext)\0*.ext\0...\0\0".
        std::wstring filter;
        for (const auto& type : request.extensions)
        {
            filter += widen(type.description + " (*." + type.extension + ")");
            filter += L'\0';
            filter += widen("*." + type.extension);
            filter += L'\0';
        }
        filter += L"All files (*.*)";
        filter += L'\0';
        filter += L"*.*";
        filter += L'\0';
        std::wstring title = widen(request.title);
        std::wstring folder = widen(request.initialDirectory);
        std::wstring extension =
            request.extensions.empty() ? std::wstring() : widen(request.extensions[0].extension);
        wchar_t path[MAX_PATH] = {};
        const std::wstring name = widen(request.defaultName);
        name.copy(path, MAX_PATH - 1);
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window;
        dialog.lpstrFilter = filter.c_str();
        dialog.lpstrFile = path;
        dialog.nMaxFile = MAX_PATH;
        dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER;
        const std::shared_ptr<bool> stillOpen = open;
        choosingFile = true;
        BOOL chosen = FALSE;
        if (request.save)
        {
            dialog.Flags |= OFN_OVERWRITEPROMPT;
            chosen = GetSaveFileNameW(&dialog);
        }
        else
        {
            dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
            chosen = GetOpenFileNameW(&dialog);
        }
        if (!*stillOpen)
            return;
        choosingFile = false;
        if (!chosen)
            completion(std::nullopt);
        else
            completion(narrow(path));
    }

private:
    void blit(HDC dc, const PixelBuffer& buffer, const CRect& rect)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = buffer.width;
        info.bmiHeader.biHeight = -buffer.height; // top-down rows, as in the buffer
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int x = static_cast<int>(rect.left);
        const int y = static_cast<int>(rect.top);
        const int w = static_cast<int>(rect.getWidth());
        const int h = static_cast<int>(rect.getHeight());
        // With a top-down DIB the source rectangle counts from the bottom row.
        StretchDIBits(dc, x, y, w, h, x, buffer.height - y - h, w, h, buffer.pixels.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    CFrame* frame;
    HINSTANCE module = nullptr;
    bool classAcquired = false;
    HWND window = nullptr;
    bool tracking = false;
    std::shared_ptr<bool> open = std::make_shared<bool>(true); // until the frame closes
    bool trackingMenu = false;
    bool choosingFile = false;
};

LRESULT CALLBACK Win32Frame::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Frame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_NCDESTROY)
    {
        // Destroyed with the host's window: the handle may soon name another window.
        self->window = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (self)
        return self->handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    CPoint where(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        frame->invalidRect(CRect(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                                 paint.rcPaint.bottom));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    {
        std::int32_t state = buttonsOf(wParam);
        if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
            message == WM_MBUTTONDBLCLK)
            state |= kDoubleClick;
        SetCapture(window);
        SetFocus(window);
        frame->onMouseDown(where, CButtonState(state));
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        frame->onMouseUp(where, CButtonState(buttonsOf(wParam)));
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            ReleaseCapture();
        return 0;
    case WM_MOUSEMOVE:
        if (!tracking)
        {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
            tracking = TrackMouseEvent(&track) != FALSE;
        }
        frame->onMouseMoved(where, CButtonState(buttonsOf(wParam)));
        return 0;
    case WM_MOUSELEAVE:
        tracking = false;
        frame->onMouseExited(where, CButtonState(modifiers()));
        return 0;
    case WM_MOUSEWHEEL:
    {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; // screen coordinates here
        ScreenToClient(window, &p);
        const float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
        frame->onWheel(CPoint(p.x, p.y), distance,
                       CButtonState(buttonsOf(GET_KEYSTATE_WPARAM(wParam))));
        return 0;
    }
    case WM_CHAR:
    {
        if (wParam < 0x20 || wParam == 0x7f)
            return 0; // control characters come as WM_KEYDOWN
        CKeyCode key;
        key.character = static_cast<std::int32_t>(wParam);
        frame->onKeyDown(key);
        return 0;
    }
    case WM_KEYDOWN:
    {
        CKeyCode key;
        switch (wParam)
        {
        case VK_BACK: key.virt = VKEY_BACK; break;
        case VK_TAB: key.virt = VKEY_TAB; break;
        case VK_RETURN: key.virt = VKEY_RETURN; break;
        case VK_ESCAPE: key.virt = VKEY_ESCAPE; break;
        case VK_DELETE: key.virt = VKEY_DELETE; break;
        case VK_LEFT: key.virt = VKEY_LEFT; break;
        case VK_RIGHT: key.virt = VKEY_RIGHT; break;
        case VK_UP: key.virt = VKEY_UP; break;
        case VK_DOWN: key.virt = VKEY_DOWN; break;
        case VK_HOME: key.virt = VKEY_HOME; break;
        case VK_END: key.virt = VKEY_END; break;
        default: return DefWindowProcW(window, message, wParam, lParam);
        }
        frame->onKeyDown(key);
        return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
} // namespace

namespace gui
{
std::unique_ptr<IPlatformFrame> createNativeFrame(void* parent, CFrame* frame, const CRect& size)
{
    auto native = std::make_unique<Win32Frame>(static_cast<HWND>(parent), frame, size);
    if (!native->valid())
        return nullptr;
    return native;
}
} // namespace gui
