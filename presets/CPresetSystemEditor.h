// The editor-side half of the preset system: the preset strip along the bottom of the
// editor window (program name, menu and rocker, file, default and memo buttons, MIDI learn
// and clear switches, and the name of the controller bound to the control under the
// mouse); preset, bank and MIDI-settings records built from and loaded into the effect's
// programs and controller map, their files, and the per-user store of defaults, memos and
// last-used paths. The strip follows the effect in its idle pass: the program names and
// the current program when the effect's program generation moves, and the learn and
// clear switches when their modes end.
#pragma once

#include "gui/AEffGUIEditor.h"
#include "gui/CControl.h"
#include "presets/FileDialog.h"
#include "presets/PathMemory.h"
#include "presets/PresetRecords.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class CPresetSystemEffect;
class CMessageLine;
class COptionMenu;
class CParamDisplay;
class CQEKickButton;
class CQEOnOffButton;
class CQERockerSwitch;
class CSaveLoadButton;
class CTextEdit;

// The tags of the strip's controls; the editor's own controls use tags below 33.
namespace presetStrip
{
enum Tag : std::int32_t
{
    kProgramName = 33,
    kPreviousNext = 34,
    kLoadBank = 35,
    kSaveBank = 36,
    kLoadPreset = 37,
    kSavePreset = 38,
    kControllerDisplay = 39,
    kLearn = 40,
    kLoadMidi = 41,
    kSaveMidi = 42,
    kDefaultMidi = 43,
    kClear = 44,
    kProgramMenu = 45,
    kDefaultBank = 46,
    kDefaultPreset = 47,
    kStoreMemoA = 48,
    kStoreMemoB = 49,
    kRecallMemoA = 50,
    kRecallMemoB = 51,

    kFirstTag = kProgramName,
    kLastTag = kRecallMemoB,
};

// The controller display's value for a display index (0-127 a controller, 128 "not
// assigned", 129 nothing under the mouse), and the text it shows for a value.
constexpr int kNotAssigned = 128;
constexpr int kNothingUnderMouse = 129;
float controllerDisplayValue(int displayIndex) noexcept;
bool controllerDisplayText(float value, char utf8String[256], void* userData) noexcept;
} // namespace presetStrip

class CPresetSystemEditor : public AEffGUIEditor, public CControlListener
{
public:
    explicit CPresetSystemEditor(CPresetSystemEffect* effect) noexcept;
    // Closes a window the host left open. The path memory was stored when it was chosen.
    ~CPresetSystemEditor() override;

    // The strip, on the user-interface thread. open adds it to the frame the derived
    // editor has made (false without a frame or an effect) and ends learn and clear mode;
    // close forgets the strip and closes the frame; idle also shows the controller bound to
    // the control under the mouse.
    bool open(void* ptr) override;
    void close() override;
    void idle() override;
    // The strip's controls report here (tags 33 to 51); other tags do nothing.
    void valueChanged(CControl* control) override;
    // The strip's tags name no parameter: their edit gestures never reach the host.
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;

    // A rename made in the editor: the name field and the current menu entry show it at
    // once. User-interface thread.
    virtual void programNameChanged(const char* name);

    // Replaces factory state with what the user stored as defaults, at construction: the
    // default bank, then the default preset on top of its program 0, then the default MIDI
    // settings, then the path memory. Missing or unreadable values change nothing.
    virtual void loadStoredDefaults();

    // Records; the user-interface thread, or the creating thread at start-up. Loaders
    // ignore another plug-in's record or one of another kind; reversed asks for the
    // floats' bytes reversed from what the identifier says. Savers write every byte.
    // A bank that passes the checks is loaded with program 0 selected; a rejected one
    // changes nothing, the current program included.
    // The loaders change the effect's programs through its whole-program commands, and
    // answer false for a record they ignored.
    virtual bool loadBankFromBuffer(BankRecordView record, bool reversed);
    virtual void saveBankToBuffer(std::span<std::byte, bankRecord::kBytes> buffer);
    // Into the current program, which is then applied.
    virtual bool loadPresetFromBuffer(PresetRecordView record, bool reversed);
    virtual void savePresetToBuffer(std::span<std::byte, presetRecord::kBytes> buffer);
    // The controller assignments, as the host would set parameters 18 to 35.
    virtual bool loadMidiFromBuffer(MidiRecordView record, bool reversed);
    virtual void saveMidiToBuffer(std::span<std::byte, midiRecord::kBytes> buffer);

    // Files, from the strip's buttons on the user-interface thread. Each asks for a file
    // through the window's dialog, so they do nothing while the window is closed. The
    // chosen directory and file name are remembered and stored for new instances at once;
    // a path that does not fit the path memory is refused. A file that cannot be read or
    // written changes nothing else, and the strip's message line says why.
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

    // The window installs its file dialog when it opens and removes it (null) when it closes.
    void setFileDialog(std::unique_ptr<FileDialog> dialog) noexcept;

    // What the message line over the strip shows: empty when it is hidden. A message stays
    // for kMessageSeconds, or until clicked away.
    static constexpr int kMessageSeconds = 6;
    std::string shownMessage() const;

    // The path memory, UTF-8.
    const char* getCurrentDirectory() const noexcept { return currentDirectory.data(); }
    const char* getCurrentBankFile() const noexcept { return currentBankFile.data(); }
    const char* getCurrentPresetFile() const noexcept { return currentPresetFile.data(); }
    const char* getCurrentMidiFile() const noexcept { return currentMidiFile.data(); }

protected:
    // Names the current program (cut to 24 characters) in the strip and in its record.
    void renameProgram(const char* name);
    std::uint32_t uniqueId() const;

    // Shows in the controller display the controller bound to the parameter of the control
    // under the mouse. False when it could not look: no effect, frame or display, or the
    // mouse is outside the window.
    bool updateControllerDisplay();
    // What the effect published since the last pass: the program names and the current
    // program when its program generation moved, and the learn and clear switches when a
    // mode ended (a learned controller ends learning on the audio thread).
    void showEffectState();
    // The parameter whose binding a control's tag shows, or -1.
    virtual int parameterForTag(std::int32_t tag) const;

    CPresetSystemEffect* presetEffect;

    // The strip's controls while the window is open, null otherwise (the frame owns them).
    CTextEdit* nameField = nullptr;
    COptionMenu* programMenu = nullptr;
    CQERockerSwitch* rocker = nullptr;
    CSaveLoadButton* loadBankButton = nullptr;
    CSaveLoadButton* saveBankButton = nullptr;
    CQEKickButton* defaultBankButton = nullptr;
    CSaveLoadButton* loadPresetButton = nullptr;
    CSaveLoadButton* savePresetButton = nullptr;
    CQEKickButton* defaultPresetButton = nullptr;
    CQEKickButton* recallMemoAButton = nullptr;
    CQEKickButton* storeMemoAButton = nullptr;
    CQEKickButton* recallMemoBButton = nullptr;
    CQEKickButton* storeMemoBButton = nullptr;
    CParamDisplay* controllerDisplay = nullptr;
    CSaveLoadButton* loadMidiButton = nullptr;
    CSaveLoadButton* saveMidiButton = nullptr;
    CQEKickButton* defaultMidiButton = nullptr;
    CQEOnOffButton* learnSwitch = nullptr;
    CQEOnOffButton* clearSwitch = nullptr;
    CMessageLine* messageLine = nullptr;

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
    void loadChosenFile(RecordKind kind, bool reversed, const std::string& path);
    void saveChosenFile(RecordKind kind, const std::string& path);
    // Shows text on the message line, when the window is open.
    void showMessage(std::string text);
    void expireMessage();
    void storeRecord(const char* valueName, std::span<const std::byte> record);
    void storeCurrentProgram(const char* valueName);
    void recallIntoCurrentProgram(const char* valueName);

    void buildStrip();
    void stepProgram(float direction);
    void chooseProgram(COptionMenu* menu);
    // The menu's titles, its current entry and the name field from the program table.
    void showPrograms();
    void showModes();
    std::uint32_t shownProgramGeneration = 0;
    std::chrono::steady_clock::time_point messageEnds{};

    // With its trailing separator; the process's working directory until the stored
    // paths are loaded.
    PathBuffer currentDirectory{};
    PathBuffer currentBankFile{};
    PathBuffer currentPresetFile{};
    PathBuffer currentMidiFile{};
    std::unique_ptr<FileDialog> fileDialog;
};
