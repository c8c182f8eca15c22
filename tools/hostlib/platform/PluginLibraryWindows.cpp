// The plug-in library through LoadLibrary, as Windows hosts open it. Paths are UTF-8 here
// and UTF-16 for the system, so a folder named in any language loads.
#include "PluginLibrary.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace
{
// Empty when the text is not valid UTF-8.
std::wstring widen(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    const int count =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (count <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), count);
    return wide;
}

std::string narrow(const std::wstring& wide)
{
    const int length = static_cast<int>(wide.size());
    const int count =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return {};
    std::string text(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), count, nullptr, nullptr);
    return text;
}

bool isAbsolute(const std::string& path)
{
    const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    const bool drive = path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return rooted || drive;
}
} // namespace

PluginLibrary::PluginLibrary(const std::string& path)
{
    const std::wstring widePath = widen(path);
    if (widePath.empty())
    {
        lastError = "not a UTF-8 path: " + path;
        return;
    }
    handle = reinterpret_cast<void*>(LoadLibraryW(widePath.c_str()));
    if (handle == nullptr)
        lastError =
            "LoadLibrary failed for " + path + " (error " + std::to_string(GetLastError()) + ")";
}

PluginLibrary::~PluginLibrary()
{
    if (handle != nullptr)
        FreeLibrary(reinterpret_cast<HMODULE>(handle));
}

VstEntryProc PluginLibrary::entry(const char* name) const
{
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<VstEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name)));
}

std::string besideProgram(const std::string& path)
{
    if (path.empty() || isAbsolute(path))
        return path;
    std::wstring self(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length =
            GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length == 0)
            return path;
        if (length < self.size())
        {
            self.resize(length);
            break;
        }
        self.resize(self.size() * 2);
    }
    self.erase(self.find_last_of(L"\\/") + 1);
    for (wchar_t c : widen(path))
        self.push_back(c == L'/' ? L'\\' : c);
    // Folds away the ".." steps, as a host would show the path.
    std::wstring whole(self.size() + 1, L'\0');
    const DWORD length =
        GetFullPathNameW(self.c_str(), static_cast<DWORD>(whole.size()), whole.data(), nullptr);
    if (length > 0 && length < whole.size())
        whole.resize(length);
    else
        whole = self;
    return narrow(whole);
}
