#include "HostCallback.h"

namespace
{
// Calls made while the entry point runs arrive before the host could tag the record.
thread_local HostCallback* hostBeingCreated = nullptr;

HostCallback* hostOf(AEffect* effect)
{
    if (effect != nullptr && effect->user != nullptr)
        return static_cast<HostCallback*>(effect->user);
    return hostBeingCreated;
}
} // namespace

AEffect* HostCallback::create(VstEntryProc entry)
{
    if (entry == nullptr)
        return nullptr;
    hostBeingCreated = this;
    AEffect* effect = entry(&HostCallback::callback);
    hostBeingCreated = nullptr;
    if (effect != nullptr)
        effect->user = this;
    return effect;
}

bool HostCallback::insideEntryPoint() const noexcept
{
    return hostBeingCreated == this;
}

VstIntPtr VSTCALLBACK HostCallback::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                             VstIntPtr value, void* ptr, float opt)
{
    HostCallback* host = hostOf(effect);
    return host != nullptr ? host->answer(opcode, index, value, ptr, opt) : 0;
}
