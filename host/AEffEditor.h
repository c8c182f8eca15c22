// The plug-in side of an editor window, as the host's editor opcodes reach it.
#pragma once

#include "host/vst2.h"

class AudioEffect;

class AEffEditor
{
public:
    explicit AEffEditor(AudioEffect* effect) noexcept : effect(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // All of these run on the host's user-interface thread.
    virtual bool getRect(ERect** rect)
    {
        *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow)
    {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }
    virtual bool isOpen() const { return systemWindow != nullptr; }

    AudioEffect* getEffect() const noexcept { return effect; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
