// The editor-side half of the preset system: preset, bank and MIDI-settings records built
// from and loaded into the effect's programs and controller map, their files, and the
// per-user store of defaults, memos and last-used paths. The effect calls the first hooks
// when a mode ends or a name changes, so that the strip's controls follow.
#pragma once

#include "gui/AEffGUIEditor.h"
#include "gui/CControl.h"
#include "presets/FileDialog.h"
#include "presets/PathMemory.h"
#include "presets/PresetRecords.h"

#include <memory>
#include <span>
#include <string_view>

class CPresetSystemEffect;

class CParamDisplay;

class CPresetSystemEditor : public AEffGUIEditor, public CControlListener
{
public:
    explicit CPresetSystemEditor(CPresetSystemEffect* effect) noexcept;
    // Writes the path memory to the per-user store: when the plug-in instance is released.
    ~CPresetSystemEditor() override;

    // May arrive on the audio thread (a learned controller ends learn mode there):
    // implementations only update controls that exist.
    virtual void learnEnded() {}
    virtual void unlearnEnded() {}
    virtual void programNameChanged(const char* /*name*/) {}

    // Replaces factory state with what the user stored as defaults, at construction: the
    // default bank, then the default preset on top of its program 0, then the default MIDI
    // settings, then the path memory. Missing or unreadable values change nothing.
    virtual void loadStoredDefaults();

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

    // Files, from the strip's buttons on the user-interface thread. Each asks for a file
    // through the window's dialog, so they do nothing while the window is closed. The
    // chosen directory and file name are remembered; a path that does not fit the path
    // memory is refused. A file that cannot be read or written changes nothing else.
    void loadPresetFile(bool reversed);
    void savePresetFile();
    void loadBankFile(bool reversed);
    void saveBankFile();
    void loadMidiFile(bool reversed);
    void saveMidiFile();

    // The per-user store, from the strip's buttons on the user-interface thread. Stores
    // what the save operations build; a memo recall loads into the current program, and
    // recalling a memo never stored changes nothing.
    void storeDefaultBank();
    void deleteDefaultBank();
    void storeDefaultPreset();
    void deleteDefaultPreset();
    void storeDefaultMidi();
    void storeMemoA();
    void storeMemoB();
    void recallMemoA();
    void recallMemoB();
    void saveCurrentPaths() noexcept;

    // The strip along the bottom of the window, added to a frame the derived editor made.
    bool open(void* ptr) override;
    void close() override;
    void idle() override;
    void valueChanged(CControl* control) override;

    // The window installs its file dialog when it opens and removes it (null) when it closes.
    void setFileDialog(std::unique_ptr<FileDialog> dialog) noexcept;

    // The path memory, UTF-8.
    const char* getCurrentDirectory() const noexcept { return currentDirectory.data(); }
    const char* getCurrentBankFile() const noexcept { return currentBankFile.data(); }
    const char* getCurrentPresetFile() const noexcept { return currentPresetFile.data(); }
    const char* getCurrentMidiFile() const noexcept { return currentMidiFile.data(); }

protected:
    // Shows the controller of the parameter under the mouse; false when there is no
    // display or no mouse position, so the idle pass stops.
    bool updateControllerDisplay();
    // The parameter a control with this tag stands for, or -1.
    virtual int parameterForTag(std::int32_t tag) const;

    CParamDisplay* controllerDisplay = nullptr;

    // Names the current program (cut to 24 characters) in the strip and in its record.
    void renameProgram(const char* name);
    std::uint32_t uniqueId() const;

    CPresetSystemEffect* presetEffect;

private:
    enum class RecordKind
    {
        preset,
        bank,
        midi,
    };
    void loadFile(RecordKind kind, bool reversed) noexcept;
    void saveFile(RecordKind kind) noexcept;
    bool rememberChosenFile(RecordKind kind, std::string_view path) noexcept;
    PathBuffer& currentFileOf(RecordKind kind) noexcept;
    void storeCurrentProgram(const char* valueName);
    void recallIntoCurrentProgram(const char* valueName);

    // With its trailing separator; the process's working directory until the stored
    // paths are loaded.
    PathBuffer currentDirectory{};
    PathBuffer currentBankFile{};
    PathBuffer currentPresetFile{};
    PathBuffer currentMidiFile{};
    std::unique_ptr<FileDialog> fileDialog;
};
