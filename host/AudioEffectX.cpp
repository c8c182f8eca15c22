#include "host/AudioEffectX.h"

#include <utility>

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt)
{
    switch (opcode)
    {
    case effOpen:
        AudioEffect::dispatcher(opcode, index, value, ptr, opt);
        // Some hosts open twice: the owed update is sent once.
        if (std::exchange(displayUpdateOwed, false))
            updateDisplay();
        return 0;
    case effProcessEvents: return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter: return 0;
    case effGetProgramNameIndexed:
        if (ptr == nullptr)
            return 0;
        return getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effGetPlugCategory: return getPlugCategory();
    case effGetEffectName: return ptr != nullptr && getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return ptr != nullptr && getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
        return ptr != nullptr && getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effCanDo: return ptr != nullptr ? canDo(static_cast<char*>(ptr)) : 0;
    case effGetTailSize: return getTailSize();
    case effGetParameterProperties:
        if (ptr == nullptr)
            return 0;
        return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1 : 0;
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
    {
        AEffEditor* editor = getEditor();
        if (editor == nullptr)
            return 0;
        VstKeyCode key{};
        key.character = index;
        key.virt = static_cast<unsigned char>(value & 0xff);
        key.modifier = static_cast<unsigned char>(static_cast<VstInt32>(opt) & 0xff);
        const bool used = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
        return used ? 1 : 0;
    }
    case effSetEditKnobMode:
        if (AEffEditor* editor = getEditor())
        {
            editor->setKnobMode(static_cast<VstInt32>(value));
            return 1;
        }
        return 0;
    case effGetCurrentMidiProgram: return -1;
    case effGetSpeakerArrangement:
        // Both arguments point at the host's arrangement pointers; we have none to offer.
        if (value != 0)
            *reinterpret_cast<void**>(value) = nullptr;
        if (ptr != nullptr)
            *static_cast<void**>(ptr) = nullptr;
        return 0;
    case effSetTotalSampleToProcess: return value;
    default:
        // Opcodes 0-24, and every other one, which the basic routing answers with 0.
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstInt32 AudioEffectX::canHostDo(const char* text) noexcept
{
    // The interface passes a mutable pointer; the host only reads it.
    return static_cast<VstInt32>(callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

void AudioEffectX::wantEvents(VstInt32 filter) noexcept
{
    callHost(audioMasterWantMidi, 0, filter);
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) noexcept
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::updateDisplay() noexcept
{
    if (!isHeldByHost())
    {
        displayUpdateOwed = true;
        return false;
    }
    return callHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::beginEdit(VstInt32 index) noexcept
{
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) noexcept
{
    return callHost(audioMasterEndEdit, index) != 0;
}

// The host answers 0 for a connected pin: the interface's inverted sense.
bool AudioEffectX::isInputConnected(VstInt32 input) noexcept
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffectX::isOutputConnected(VstInt32 output) noexcept
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffectX::masterIdle() noexcept
{
    callHost(audioMasterIdle);
}
