// The editor-side half of the preset system. The effect calls these when a mode ends
// or a name changes, so that the strip's controls follow.
#pragma once

#include "gui/AEffGUIEditor.h"

class CPresetSystemEffect;

class CPresetSystemEditor : public AEffGUIEditor
{
public:
    explicit CPresetSystemEditor(CPresetSystemEffect* effect) noexcept;

    // May arrive on the audio thread (a learned controller ends learn mode there):
    // implementations only update controls that exist.
    virtual void learnEnded() {}
    virtual void unlearnEnded() {}
    virtual void programNameChanged(const char* /*name*/) {}

    // Replaces factory state with what the user stored as defaults; at construction.
    virtual void loadStoredDefaults() {}

protected:
    CPresetSystemEffect* presetEffect;
};
