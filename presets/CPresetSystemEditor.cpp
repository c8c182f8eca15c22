#include "presets/CPresetSystemEditor.h"

#include "presets/CPresetSystemEffect.h"

CPresetSystemEditor::CPresetSystemEditor(CPresetSystemEffect* effect) noexcept
    : AEffGUIEditor(effect), presetEffect(effect)
{
}

std::uint32_t CPresetSystemEditor::uniqueId() const
{
    return static_cast<std::uint32_t>(presetEffect->getUniqueId());
}

void CPresetSystemEditor::renameProgram(const char* name)
{
    char cut[kProgramNameBytes + 1] = {};
    for (std::size_t i = 0; i < kProgramNameBytes && name[i] != '\0'; ++i)
        cut[i] = name[i];
    programNameChanged(cut); // the name field and the menu entry, when they exist
    presetEffect->renameCurrentProgram(cut);
}

// ---- records ---------------------------------------------------------------------------

void CPresetSystemEditor::loadBankFromBuffer(BankRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return;
    // Whatever the record holds, a bank load ends on program 0.
    presetEffect->selectProgram(0);
    const auto programs = readBankRecord(record, uniqueId(), reversed);
    if (!programs)
        return;
    presetEffect->programTable() = *programs;
    presetEffect->selectProgram(0);
}

void CPresetSystemEditor::saveBankToBuffer(std::span<std::byte, bankRecord::kBytes> buffer)
{
    if (presetEffect != nullptr)
        writeBankRecord(buffer, uniqueId(), presetEffect->programTable());
}

void CPresetSystemEditor::loadPresetFromBuffer(PresetRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return;
    const auto program = readPresetRecord(record, uniqueId(), reversed);
    const int index = presetEffect->getCurrentProgramIndex();
    if (!program || index < 0 || index >= kNumPrograms)
        return;
    presetEffect->programTable()[index] = *program;
    char name[kProgramNameBytes + 1];
    copyProgramName(*program, name);
    renameProgram(name);
    presetEffect->selectProgram(index);
}

void CPresetSystemEditor::savePresetToBuffer(std::span<std::byte, presetRecord::kBytes> buffer)
{
    if (presetEffect == nullptr)
        return;
    const int index = presetEffect->getCurrentProgramIndex();
    writePresetRecord(buffer, uniqueId(), presetEffect->programTable()[index]);
}

void CPresetSystemEditor::loadMidiFromBuffer(MidiRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return;
    const auto values = readMidiRecord(record, uniqueId(), reversed);
    if (!values)
        return;
    // Entry by entry through the effect, exactly as host changes rebuild the bindings.
    for (int p = 0; p < kNumControls; ++p)
        presetEffect->setParameter(kFirstControllerParameter + p, (*values)[p]);
}

void CPresetSystemEditor::saveMidiToBuffer(std::span<std::byte, midiRecord::kBytes> buffer)
{
    if (presetEffect == nullptr)
        return;
    ControllerValues values;
    for (int p = 0; p < kNumControls; ++p)
        values[p] = presetEffect->getParameter(kFirstControllerParameter + p);
    writeMidiRecord(buffer, uniqueId(), values);
}
