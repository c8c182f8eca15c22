// The editor-side half of the preset system: the preset, bank and MIDI-settings records
// built from and loaded into the effect's programs and controller map. The effect calls
// the first hooks when a mode ends or a name changes, so that the strip's controls follow.
#pragma once

#include "gui/AEffGUIEditor.h"
#include "presets/PresetRecords.h"

#include <span>

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

    // Records; the user-interface thread, or the creating thread at start-up. Loaders
    // ignore another plug-in's record or one of another kind; reversed asks for the
    // floats' bytes reversed from what the identifier says. Savers write every byte.
    // A bank load selects program 0 before it looks at the record.
    virtual void loadBankFromBuffer(BankRecordView record, bool reversed);
    virtual void saveBankToBuffer(std::span<std::byte, bankRecord::kBytes> buffer);
    // Into the current program, which is then applied.
    virtual void loadPresetFromBuffer(PresetRecordView record, bool reversed);
    virtual void savePresetToBuffer(std::span<std::byte, presetRecord::kBytes> buffer);
    // The controller assignments, as the host would set parameters 18 to 35.
    virtual void loadMidiFromBuffer(MidiRecordView record, bool reversed);
    virtual void saveMidiToBuffer(std::span<std::byte, midiRecord::kBytes> buffer);

protected:
    // Names the current program (cut to 24 characters) in the strip and in the store.
    void renameProgram(const char* name);
    std::uint32_t uniqueId() const;

    CPresetSystemEffect* presetEffect;
};
