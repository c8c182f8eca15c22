#include "presets/CPresetSystemEditor.h"

#include "gui/controls/CMessageLine.h"
#include "presets/CPresetSystemEffect.h"
#include "presets/FileAccess.h"
#include "presets/FileMessages.h"
#include "presets/UserStore.h"

#include <cstring>
#include <string>

namespace
{
struct RecordFileInfo
{
    FileType type;
    const char* loadTitle;
    const char* reversedLoadTitle;
    const char* saveTitle;
    std::size_t recordBytes;
    const char* storedFileName; // the per-user value remembering the last file of the kind
    const char* kindName;       // in messages: "not a TARVA preset"
};

// In the order of RecordKind: preset, bank, MIDI settings.
constexpr RecordFileInfo kRecordFiles[] = {
    {kPresetFileType, "Load preset", "Load preset (endian-reversed)", "Save preset",
     presetRecord::kBytes, userStore::kCurrentPresetFile, "preset"},
    {kBankFileType, "Load bank", "Load bank (endian-reversed)", "Save bank", bankRecord::kBytes,
     userStore::kCurrentBankFile, "bank"},
    {kMidiFileType, "Load MIDI settings", "Load MIDI settings (endian-reversed)",
     "Save midi settings as", midiRecord::kBytes, userStore::kCurrentMidiFile,
     "MIDI settings file"},
};

using LargestRecordBytes = BankRecordBytes;
static_assert(bankRecord::kBytes >= presetRecord::kBytes &&
              bankRecord::kBytes >= midiRecord::kBytes);
} // namespace

CPresetSystemEditor::CPresetSystemEditor(CPresetSystemEffect* effect) noexcept
    : AEffGUIEditor(effect), presetEffect(effect)
{
    // Kept with its trailing separator, like every directory the dialogs give us.
    if (workingDirectory(currentDirectory))
    {
        const std::size_t length = std::strlen(currentDirectory.data());
        if (length > 0 &&
            kPathSeparators.find(currentDirectory[length - 1]) == std::string_view::npos)
        {
            if (length < kMaxPathChars)
            {
                currentDirectory[length] = kPathSeparators[0];
                currentDirectory[length + 1] = '\0';
            }
            else
                currentDirectory.fill('\0');
        }
    }
}

CPresetSystemEditor::~CPresetSystemEditor()
{
    // A window the host left open closes here, while this class is still whole; a name
    // being typed is not committed into an effect that is itself being destroyed.
    if (frame)
    {
        presetEffect = nullptr;
        close();
    }
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

bool CPresetSystemEditor::loadBankFromBuffer(BankRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return false;
    const auto programs = readBankRecord(record, uniqueId(), reversed);
    if (!programs)
        return false; // not a bank of ours: the current program stays as it is
    // A bank load ends on program 0, selected first so that its new values are applied.
    presetEffect->selectProgram(0);
    presetEffect->loadAllPrograms(*programs);
    showPrograms();
    return true;
}

void CPresetSystemEditor::saveBankToBuffer(std::span<std::byte, bankRecord::kBytes> buffer)
{
    if (presetEffect != nullptr)
        writeBankRecord(buffer, uniqueId(), presetEffect->readPrograms());
}

bool CPresetSystemEditor::loadPresetFromBuffer(PresetRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return false;
    const auto program = readPresetRecord(record, uniqueId(), reversed);
    if (!program)
        return false;
    presetEffect->loadIntoCurrentProgram(*program);
    showPrograms();
    return true;
}

void CPresetSystemEditor::savePresetToBuffer(std::span<std::byte, presetRecord::kBytes> buffer)
{
    if (presetEffect == nullptr)
        return;
    const int index = presetEffect->getCurrentProgramIndex();
    writePresetRecord(buffer, uniqueId(), presetEffect->readProgram(index));
}

bool CPresetSystemEditor::loadMidiFromBuffer(MidiRecordView record, bool reversed)
{
    if (presetEffect == nullptr)
        return false;
    const auto values = readMidiRecord(record, uniqueId(), reversed);
    if (!values)
        return false;
    // Entry by entry through the effect, exactly as host changes rebuild the bindings.
    for (int p = 0; p < kNumControls; ++p)
        presetEffect->setParameter(kFirstControllerParameter + p, (*values)[p]);
    return true;
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

// ---- files -----------------------------------------------------------------------------

void CPresetSystemEditor::setFileDialog(std::unique_ptr<FileDialog> dialog) noexcept
{
    fileDialog = std::move(dialog);
}

void CPresetSystemEditor::loadPresetFile(bool reversed)
{
    loadFile(RecordKind::preset, reversed);
}

void CPresetSystemEditor::savePresetFile()
{
    saveFile(RecordKind::preset);
}

void CPresetSystemEditor::loadBankFile(bool reversed)
{
    loadFile(RecordKind::bank, reversed);
}

void CPresetSystemEditor::saveBankFile()
{
    saveFile(RecordKind::bank);
}

void CPresetSystemEditor::loadMidiFile(bool reversed)
{
    loadFile(RecordKind::midi, reversed);
}

void CPresetSystemEditor::saveMidiFile()
{
    saveFile(RecordKind::midi);
}

PathBuffer& CPresetSystemEditor::currentFileOf(RecordKind kind) noexcept
{
    switch (kind)
    {
    case RecordKind::preset: return currentPresetFile;
    case RecordKind::bank: return currentBankFile;
    case RecordKind::midi: break;
    }
    return currentMidiFile;
}

// The directory and the file name are remembered apart. Both must fit, or neither changes:
// a cut name would be another file. A path that names no file in a directory is refused
// too, so that nothing is ever read from or written to a file the user did not choose.
bool CPresetSystemEditor::rememberChosenFile(RecordKind kind, std::string_view path) noexcept
{
    const auto split = splitAtLastSeparator(path);
    if (!split)
        return false;
    PathBuffer directory{};
    PathBuffer file{};
    if (!assignPath(directory, split->directory) || !assignPath(file, split->file))
        return false;
    currentDirectory = directory;
    currentFileOf(kind) = file;
    // Stored now, and only what this choice changed: another open instance keeps its own
    // memory and stores it when its user next chooses, so the latest choice wins.
    userStore::writePath(userStore::kCurrentDirectory, currentDirectory);
    userStore::writePath(kRecordFiles[static_cast<int>(kind)].storedFileName, file);
    return true;
}

// The dialog answers later, from the window's idle, or at once. It never answers once the
// window has closed, and the window closes before the editor goes, so the answer finds
// this editor whole; the effect may have been let go meanwhile.
void CPresetSystemEditor::loadFile(RecordKind kind, bool reversed) noexcept
{
    if (fileDialog == nullptr || presetEffect == nullptr)
        return;
    const RecordFileInfo& info = kRecordFiles[static_cast<int>(kind)];
    const auto load = [this, kind, reversed](std::optional<std::string> chosen) noexcept
    {
        if (presetEffect == nullptr || !chosen)
            return;
        try
        {
            loadChosenFile(kind, reversed, *chosen);
        }
        catch (...)
        {
            // Out of memory: nothing is loaded, and nothing reaches the host.
        }
    };
    try
    {
        fileDialog->choose({FileRequest::Mode::open,
                            reversed ? info.reversedLoadTitle : info.loadTitle,
                            currentDirectory.data(), "", info.type},
                           load);
    }
    catch (...)
    {
        // Out of memory for a path: no dialog, and nothing reaches the host.
    }
}

void CPresetSystemEditor::loadChosenFile(RecordKind kind, bool reversed, const std::string& path)
{
    const RecordFileInfo& info = kRecordFiles[static_cast<int>(kind)];
    if (!rememberChosenFile(kind, path))
    {
        showMessage(loadFailedMessage(path, LoadProblem::pathTooLong, info.kindName));
        return;
    }
    // Opened by full path for reading only: a read-only file loads, and the host's working
    // directory stays its own.
    LargestRecordBytes buffer;
    const std::span<std::byte> record(buffer.data(), info.recordBytes);
    const RecordFileRead read = readRecordFile(path.c_str(), record);
    if (read != RecordFileRead::read)
    {
        showMessage(loadFailedMessage(path, loadProblemOf(read), info.kindName));
        return;
    }
    bool loaded = false;
    switch (kind)
    {
    case RecordKind::preset:
        loaded = loadPresetFromBuffer(record.first<presetRecord::kBytes>(), reversed);
        break;
    case RecordKind::bank:
        loaded = loadBankFromBuffer(record.first<bankRecord::kBytes>(), reversed);
        break;
    case RecordKind::midi:
        loaded = loadMidiFromBuffer(record.first<midiRecord::kBytes>(), reversed);
        break;
    }
    if (!loaded)
        showMessage(loadFailedMessage(path, LoadProblem::notOurs, info.kindName));
}

void CPresetSystemEditor::saveFile(RecordKind kind) noexcept
{
    if (fileDialog == nullptr || presetEffect == nullptr)
        return;
    const RecordFileInfo& info = kRecordFiles[static_cast<int>(kind)];
    const auto save = [this, kind](std::optional<std::string> chosen) noexcept
    {
        if (presetEffect == nullptr || !chosen)
            return;
        try
        {
            saveChosenFile(kind, *chosen);
        }
        catch (...)
        {
        }
    };
    try
    {
        fileDialog->choose({FileRequest::Mode::save, info.saveTitle, currentDirectory.data(),
                            currentFileOf(kind).data(), info.type},
                           save);
    }
    catch (...)
    {
    }
}

void CPresetSystemEditor::saveChosenFile(RecordKind kind, const std::string& path)
{
    if (!rememberChosenFile(kind, path))
    {
        showMessage(saveFailedMessage(path, SaveResult::tooLong));
        return;
    }
    LargestRecordBytes buffer{};
    const std::span<std::byte> record(buffer.data(),
                                      kRecordFiles[static_cast<int>(kind)].recordBytes);
    switch (kind)
    {
    case RecordKind::preset: savePresetToBuffer(record.first<presetRecord::kBytes>()); break;
    case RecordKind::bank: saveBankToBuffer(record.first<bankRecord::kBytes>()); break;
    case RecordKind::midi: saveMidiToBuffer(record.first<midiRecord::kBytes>()); break;
    }
    // A failed write leaves the previous file whole, unless it had to be written in place.
    const SaveResult result = replaceFile(path.c_str(), record);
    if (result != SaveResult::saved)
        showMessage(saveFailedMessage(path, result));
}

// ---- per-user store --------------------------------------------------------------------

// A value that is missing or cannot be read is skipped rather than loaded as an all-zero
// record, which every loader rejects anyway.
void CPresetSystemEditor::loadStoredDefaults()
{
    BankRecordBytes bank;
    if (userStore::readRecord(userStore::kDefaultBank, bank))
        loadBankFromBuffer(bank, false);
    recallIntoCurrentProgram(userStore::kDefaultPreset); // program 0 at this point
    MidiRecordBytes midi;
    if (userStore::readRecord(userStore::kDefaultMidi, midi))
        loadMidiFromBuffer(midi, false);
    // A missing path reads as empty, replacing the working directory seen at construction.
    userStore::readPath(userStore::kCurrentDirectory, currentDirectory);
    userStore::readPath(userStore::kCurrentBankFile, currentBankFile);
    userStore::readPath(userStore::kCurrentPresetFile, currentPresetFile);
    userStore::readPath(userStore::kCurrentMidiFile, currentMidiFile);
}

void CPresetSystemEditor::storeRecord(const char* valueName, std::span<const std::byte> record)
{
    if (userStore::writeRecord(valueName, record))
        return;
    const std::string_view name(valueName);
    const char* what = name == userStore::kDefaultBank     ? "the default bank"
                       : name == userStore::kDefaultPreset ? "the default preset"
                       : name == userStore::kDefaultMidi   ? "the default MIDI settings"
                       : name == userStore::kMemoA         ? "memo A"
                                                           : "memo B";
    showMessage(std::string("could not store ") + what);
}

void CPresetSystemEditor::storeCurrentProgram(const char* valueName)
{
    PresetRecordBytes record{};
    savePresetToBuffer(record);
    storeRecord(valueName, record);
}

void CPresetSystemEditor::recallIntoCurrentProgram(const char* valueName)
{
    PresetRecordBytes record;
    if (userStore::readRecord(valueName, record))
        loadPresetFromBuffer(record, false);
}

void CPresetSystemEditor::storeDefaultBank()
{
    BankRecordBytes record{};
    saveBankToBuffer(record);
    storeRecord(userStore::kDefaultBank, record);
}

void CPresetSystemEditor::deleteDefaultBank()
{
    userStore::deleteValue(userStore::kDefaultBank);
}

void CPresetSystemEditor::storeDefaultPreset()
{
    storeCurrentProgram(userStore::kDefaultPreset);
}

void CPresetSystemEditor::deleteDefaultPreset()
{
    userStore::deleteValue(userStore::kDefaultPreset);
}

void CPresetSystemEditor::storeDefaultMidi()
{
    MidiRecordBytes record{};
    saveMidiToBuffer(record);
    storeRecord(userStore::kDefaultMidi, record);
}

void CPresetSystemEditor::storeMemoA()
{
    storeCurrentProgram(userStore::kMemoA);
}

void CPresetSystemEditor::storeMemoB()
{
    storeCurrentProgram(userStore::kMemoB);
}

void CPresetSystemEditor::recallMemoA()
{
    recallIntoCurrentProgram(userStore::kMemoA);
}

void CPresetSystemEditor::recallMemoB()
{
    recallIntoCurrentProgram(userStore::kMemoB);
}
