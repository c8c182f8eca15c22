// The one function a host looks up in the library.
#include "host/AudioEffect.h"
#include "host/platform/Export.h"
#include "host/platform/MainAlias.h"

extern "C" TARVA_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster)
{
    if (audioMaster == nullptr)
        return nullptr;
    // A host that answers 0 does not speak the interface: make nothing.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    if (effect == nullptr)
        return nullptr;
    effect->handOverToHost();
    return effect->getAeffect();
}

// Only the plug-in library carries the alias; a test program has its own main.
#if defined(TARVA_PLUGIN_LIBRARY)
TARVA_DEFINE_MAIN_ALIAS();
#endif
