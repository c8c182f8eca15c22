// Plug-in side of the VST 2.4 interface: owns the AEffect record, the host callback,
// the sample rate and block size, and the editor.
#pragma once

#include "host/AEffEditor.h"
#include "host/vst2.h"

#include <memory>

class AudioEffect
{
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() noexcept { return &cEffect; }

    // The basic routing of opcodes 0 to 24; any thread but the audio thread.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    // Lifecycle, from the host's non-audio threads; never during a processing call.
    virtual void open() {}
    virtual void close() {}
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(VstInt32 frames) { blockSize = frames; }
    virtual void suspend() {}
    virtual void resume() {}

    // Programs as the host sees them.
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { copyEmpty(name); }

    // Parameters; setParameter and getParameter may come from any thread, the audio thread too.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    virtual void setParameterAutomated(VstInt32 index, float value);
    virtual void getParameterLabel(VstInt32 /*index*/, char* label) { copyEmpty(label); }
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { copyEmpty(text); }
    virtual void getParameterName(VstInt32 /*index*/, char* text) { copyEmpty(text); }

    // State chunk, from the host's non-audio threads.
    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/)
    {
        return 0;
    }

    // Audio thread.
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;

    // Record set-up, used by constructors.
    void setUniqueID(VstInt32 id) noexcept { cEffect.uniqueID = id; }
    void setNumInputs(VstInt32 n) noexcept { cEffect.numInputs = n; }
    void setNumOutputs(VstInt32 n) noexcept { cEffect.numOutputs = n; }
    void canProcessReplacing() noexcept { cEffect.flags |= effFlagsCanReplacing; }
    void programsAreChunks() noexcept { cEffect.flags |= effFlagsProgramChunks; }
    void setVersion(VstInt32 version) noexcept { cEffect.version = version; }

    // The effect owns its editor from here on; registering it announces it to the host.
    void setEditor(std::unique_ptr<AEffEditor> newEditor) noexcept;
    AEffEditor* getEditor() const noexcept { return editor.get(); }

    float getSampleRate() const noexcept { return sampleRate; }
    VstInt32 getBlockSize() const noexcept { return blockSize; }

    // The entry point hands the record over just before returning it. Until then the host
    // does not know the effect, and some hosts cannot answer a callback from one: nothing
    // reaches the host but the version query, which the entry point asks itself.
    void handOverToHost() noexcept { heldByHost = true; }
    bool isHeldByHost() const noexcept { return heldByHost; }

    // Host callback; 0 when the host gave none or does not hold the effect yet. Any thread.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) noexcept;
    audioMasterCallback getHostCallback() const noexcept { return audioMaster; }

protected:
    static void copyEmpty(char* text) noexcept
    {
        if (text != nullptr)
            text[0] = '\0';
    }

    audioMasterCallback audioMaster;
    AEffect cEffect{};
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 1024;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram = 0;

private:
    std::unique_ptr<AEffEditor> editor;
    // Set once on the creating thread, before the host has the record to share with its
    // other threads: a plain flag.
    bool heldByHost = false;
};

// Made by the plug-in itself: returns a new effect object, or null when the host refuses
// (version 0) or the object cannot be built. Never throws.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster) noexcept;
