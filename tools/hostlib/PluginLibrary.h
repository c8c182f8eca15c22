// A plug-in library opened the way a host opens it, by path and exported name. Paths are
// UTF-8 on every platform.
#pragma once

#include "host/vst2.h"

#include <string>

using VstEntryProc = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class PluginLibrary
{
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool isLoaded() const noexcept { return handle != nullptr; }
    const std::string& error() const noexcept { return lastError; }

    // The exported function of that name, or null.
    VstEntryProc entry(const char* name = "VSTPluginMain") const;

private:
    void* handle = nullptr;
    std::string lastError;
};

// A path relative to the folder of the running program made whole; an absolute path as
// it is. Lets the tests find the plug-in they were built with wherever the build folder is.
std::string besideProgram(const std::string& path);
