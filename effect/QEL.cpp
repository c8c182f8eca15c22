// Construction and identity of the effect.
#include "effect/QEL.h"

#include "editor/Editor.h"
#include "host/HostStrings.h"
#include "presets/FactoryPrograms.h"
#include "presets/PluginId.h"

#include <cstring>
#include <new>

namespace
{
constexpr VstInt32 kUniqueId = static_cast<VstInt32>(kPluginUniqueId);
static_assert(kUniqueId == fourCharCode('T', 'R', 'V', 'A'));
constexpr const char* kEffectName = "Morvane TARVA";
constexpr const char* kVendorName = "Morvane";
constexpr const char* kProductName =
    "Morvane TARVA - the echoes of the past, the sound of the future!";
static_assert(std::char_traits<char>::length(kProductName) == kVstMaxProductStrLen);
} // namespace

QEL::QEL(audioMasterCallback audioMaster) : CPresetSystemEffect(audioMaster, kNumParameters)
{
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    setVersion(1);
    canProcessReplacing();

    // Provisional values until program 0 is applied below.
    for (int p = 0; p < kNumControls; ++p)
        parameterValues[p] = kFactoryPrograms[0].values[p];
    initEngine(); // throws std::bad_alloc when the delay memory cannot be had

    setEditor(std::make_unique<Editor>(this));
    loadStoredDefaults();
    selectProgram(0);
    clearEngine(); // after program 0, so the engine starts with its hold settled
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) noexcept
{
    if (audioMaster == nullptr ||
        audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    // Out of memory while building: new releases the object's memory, the host gets null.
    try
    {
        return new QEL(audioMaster);
    }
    catch (...)
    {
        return nullptr;
    }
}

bool QEL::getEffectName(char* name)
{
    copyHostStringPadded(name, kEffectName, std::strlen(kEffectName) + 3);
    return true;
}

bool QEL::getVendorString(char* text)
{
    copyHostStringPadded(text, kVendorName, std::strlen(kVendorName) + 4);
    return true;
}

bool QEL::getProductString(char* text)
{
    copyHostString(text, kProductName, kVstMaxProductStrLen);
    return true;
}
