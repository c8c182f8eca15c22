// The toolkit's binding of an editor to a VST 2.4 effect: the window rectangle, the
// parameter mirror the effect feeds, and the knob mode the host may set.
#pragma once

#include "host/AEffEditor.h"
#include "host/AudioEffectX.h"

class AEffGUIEditor : public AEffEditor
{
public:
    explicit AEffGUIEditor(AudioEffect* effect) noexcept : AEffEditor(effect) {}

    bool getRect(ERect** r) override
    {
        *r = &rect;
        return true;
    }

    // The effect reports every parameter change here, from whichever thread made it.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

    bool setKnobMode(VstInt32 mode) override
    {
        knobMode = mode;
        return true;
    }
    VstInt32 getKnobMode() const noexcept { return knobMode; }

    // User gestures on a control, forwarded to the host.
    void beginEdit(VstInt32 index) { static_cast<AudioEffectX*>(effect)->beginEdit(index); }
    void endEdit(VstInt32 index) { static_cast<AudioEffectX*>(effect)->endEdit(index); }

protected:
    ERect rect{};
    VstInt32 knobMode = 0;
};
