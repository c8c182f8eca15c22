// Bitmap resources of the plug-in DLL (RCDATA, named by resources/bitmaps.txt through the
// generated resource script).
#include "gui/Resources.h"

#include <windows.h>

namespace gui
{
namespace
{
HMODULE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}
} // namespace

std::span<const unsigned char> findBitmapResource(std::int32_t id) noexcept
{
    HMODULE module = thisModule();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const unsigned char*>(data), SizeofResource(module, found)};
}
} // namespace gui
