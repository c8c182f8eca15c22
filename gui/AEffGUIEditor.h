// The toolkit's binding of an editor to a VST 2.4 effect: the window rectangle, the frame,
// the parameter mirror the effect feeds, the knob mode the host may set, key events from
// the host, and edit gestures forwarded to the host.
#pragma once

#include "gui/CFrame.h"
#include "gui/VSTGUIEditorInterface.h"
#include "host/AEffEditor.h"
#include "host/AudioEffectX.h"

class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface
{
public:
    explicit AEffGUIEditor(AudioEffect* effect) noexcept : AEffEditor(effect) {}
    // Closes a window the host left open.
    ~AEffGUIEditor() override;

    bool getRect(ERect** r) override
    {
        *r = &rect;
        return true;
    }

    // A parameter's control follows its new value. The effect never calls this: it
    // publishes what changed, and the editor's idle pass calls it on the user-interface
    // thread.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

    bool setKnobMode(VstInt32 mode) override
    {
        knobMode = mode;
        return true;
    }
    std::int32_t getKnobMode() const override { return knobMode; }

    // Closes the frame (releasing every view) and forgets the parent window.
    void close() override;
    // The host's idle: the frame handles the window system's events and redraws what
    // changed.
    void idle() override;
    // Keys the host passes on (effEditKeyDown/Up) go to the frame's focus view.
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;

    // User gestures on a control, forwarded to the host.
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;

    static CKeyCode toKeyCode(const VstKeyCode& key) noexcept;

protected:
    ERect rect{};
    VstInt32 knobMode = 0;
};
