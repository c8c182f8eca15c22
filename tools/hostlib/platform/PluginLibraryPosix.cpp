// The plug-in library through the dynamic loader, as Linux hosts open it.
#include "PluginLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

PluginLibrary::PluginLibrary(const std::string& path)
{
    // RTLD_LOCAL: the plug-in's symbols stay its own, as in every host.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* message = dlerror();
        lastError = message != nullptr ? message : ("cannot load " + path);
    }
}

PluginLibrary::~PluginLibrary()
{
    if (handle != nullptr)
        dlclose(handle);
}

VstEntryProc PluginLibrary::entry(const char* name) const
{
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<VstEntryProc>(dlsym(handle, name));
}

std::string besideProgram(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::vector<char> self(4096);
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= self.size())
        return path;
    std::string folder(self.data(), static_cast<std::size_t>(length));
    folder.erase(folder.rfind('/') + 1);
    const std::string joined = folder + path;
    char whole[PATH_MAX];
    return realpath(joined.c_str(), whole) != nullptr ? std::string(whole) : joined;
}
