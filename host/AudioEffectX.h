// The VST 2.x extensions: opcodes 25 and above and the host-callback wrappers.
#pragma once

#include "host/AudioEffect.h"

class AudioEffectX : public AudioEffect
{
public:
    using AudioEffect::AudioEffect;

    // Routes opcodes 25 to 79 and hands all others to the basic routing.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    // Audio or MIDI thread.
    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }

    // Questions the host asks; non-audio threads.
    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/)
    {
        return false;
    }
    virtual bool getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/)
    {
        return false;
    }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstInt32 canDo(char* /*text*/) { return 0; }
    virtual VstInt32 getTailSize() { return 0; }
    virtual VstInt32 getVstVersion() { return 2400; }
    virtual VstPlugCategory getPlugCategory()
    {
        return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
    }

    // Host-callback wrappers. Without a host callback they answer 0 (false), except the
    // pin queries, for which a missing host counts as connected.
    VstInt32 canHostDo(const char* text) noexcept;
    void wantEvents(VstInt32 filter = 1) noexcept;
    VstTimeInfo* getTimeInfo(VstInt32 filter) noexcept;
    bool updateDisplay() noexcept;
    bool beginEdit(VstInt32 index) noexcept;
    bool endEdit(VstInt32 index) noexcept;
    bool isInputConnected(VstInt32 input) noexcept;
    bool isOutputConnected(VstInt32 output) noexcept;
    void masterIdle() noexcept;

private:
    // A program made current while the effect was being built (program 0, the stored
    // defaults): the host hears of it at effOpen, the first moment it can answer.
    bool displayUpdateOwed = false;
};
