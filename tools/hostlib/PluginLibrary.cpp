#include "PluginLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

PluginLibrary::PluginLibrary(const std::string& path)
{
#if defined(_WIN32)
    handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (handle == nullptr)
        lastError =
            "LoadLibrary failed for " + path + " (error " + std::to_string(GetLastError()) + ")";
#else
    // RTLD_LOCAL: the plug-in's symbols stay its own, as in every host.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* message = dlerror();
        lastError = message != nullptr ? message : ("cannot load " + path);
    }
#endif
}

PluginLibrary::~PluginLibrary()
{
    if (handle == nullptr)
        return;
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

VstEntryProc PluginLibrary::entry(const char* name) const
{
    if (handle == nullptr)
        return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<VstEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name)));
#else
    return reinterpret_cast<VstEntryProc>(dlsym(handle, name));
#endif
}
