#include "presets/CPresetSystemEditor.h"

#include "presets/CPresetSystemEffect.h"

CPresetSystemEditor::CPresetSystemEditor(CPresetSystemEffect* effect) noexcept
    : AEffGUIEditor(effect), presetEffect(effect)
{
}
