// The host side of the callback a plug-in calls: calls the entry point with it, and routes
// each call to the host whose instance made it.
#pragma once

#include "PluginLibrary.h"

class HostCallback
{
public:
    virtual ~HostCallback() = default;

    // Calls the entry point as a host does; the record's user field then names this host.
    // Null when the plug-in made nothing.
    AEffect* create(VstEntryProc entry);

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

protected:
    // Whether this call comes from inside the entry point this host called on this thread.
    bool insideEntryPoint() const noexcept;
    virtual VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) = 0;
};
