// Preset, bank and MIDI-settings records built from and loaded into a running instance.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/ByteOrder.h"
#include "presets/CPresetSystemEditor.h"
#include "presets/PluginId.h"
#include "support/TempFolder.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

using PresetBuffers = EffectTest;

namespace
{
std::array<float, kNumControls> parameterValues(PluginInstance& plugin)
{
    std::array<float, kNumControls> values{};
    for (int p = 0; p < kNumControls; ++p)
        values[p] = plugin.getParameter(p);
    return values;
}
} // namespace

TEST_F(PresetBuffers, PresetSavedFromOneProgramLoadsIntoAnother)
{
    effect().selectProgram(5);
    const auto soundOfFive = parameterValues(*plugin);
    PresetRecordBytes record{};
    editor().savePresetToBuffer(record);

    effect().selectProgram(2);
    const int updatesBefore = host.record.updateDisplayCalls;
    editor().loadPresetFromBuffer(record, false);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 2);
    EXPECT_EQ(plugin->programNameIndexed(2), "light flanger");
    EXPECT_EQ(effect().readProgram(2), effect().readProgram(5));
    EXPECT_EQ(parameterValues(*plugin), soundOfFive);
    EXPECT_GT(host.record.updateDisplayCalls, updatesBefore);
    EXPECT_EQ(plugin->programNameIndexed(5), "light flanger"); // the source is untouched
}

TEST_F(PresetBuffers, RecordsOfOtherPluginsOrKindsChangeNothing)
{
    PresetRecordBytes preset{};
    editor().savePresetToBuffer(preset);
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    MidiRecordBytes midi{};
    editor().saveMidiToBuffer(midi);
    plugin->setParameter(kMix, 0.3f);
    const auto before = plugin->getChunk();
    const int updatesBefore = host.record.updateDisplayCalls;

    preset[0] ^= std::byte{1};
    midi[4] = std::byte{0x21};
    editor().loadPresetFromBuffer(preset, false);
    editor().loadPresetFromBuffer(PresetRecordBytes{}, false);
    editor().loadMidiFromBuffer(midi, false);
    EXPECT_EQ(plugin->getChunk(), before);
    EXPECT_EQ(host.record.updateDisplayCalls, updatesBefore);
    EXPECT_EQ(plugin->getParameter(kMix), 0.3f);
}

TEST_F(PresetBuffers, BankLoadSelectsProgramZeroOnlyWhenTheBankIsAccepted)
{
    effect().renameProgram(7, "stored seven");
    setProgramValue(effect(), 7, kMix, 0.125f);
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    const ProgramTable saved = effect().readPrograms();
    effect().initFactoryPrograms();

    // The same bank as a machine of the other byte order writes it.
    BankRecordBytes foreign = bank;
    storeNative32(foreign.data(), byteSwap32(loadNative32(foreign.data())));
    for (int k = 0; k < kNumPrograms; ++k)
        for (int p = 0; p < kNumControls; ++p)
        {
            std::byte* value = foreign.data() + 5 + 96 * k + 24 + 4 * p;
            storeNative32(value, byteSwap32(loadNative32(value)));
        }

    effect().selectProgram(9);
    editor().loadBankFromBuffer(foreign, false);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 0);
    EXPECT_EQ(effect().readPrograms(), saved);
    EXPECT_EQ(plugin->programNameIndexed(7), "stored seven");

    BankRecordBytes wrongType = bank;
    wrongType[4] = std::byte{0x21};
    effect().selectProgram(9);
    plugin->setParameter(kMix, 0.3f);
    const auto state = plugin->getChunk();
    const int updates = host.record.updateDisplayCalls;
    for (const BankRecordBytes& rejected : {wrongType, BankRecordBytes{}})
    {
        editor().loadBankFromBuffer(rejected, false);
        EXPECT_EQ(effect().getCurrentProgramIndex(), 9);
        EXPECT_EQ(plugin->getChunk(), state);
        EXPECT_EQ(host.record.updateDisplayCalls, updates);
    }
}

TEST_F(PresetBuffers, RecordValuesAreLimitedToZeroToOneButHostValuesAreNot)
{
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             -1.0f,
                             5.77e+20f,
                             1.5f,
                             0.5f};
    constexpr int kHostile = 7;
    PresetRecordBytes preset{};
    editor().savePresetToBuffer(preset);
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    MidiRecordBytes midi{};
    editor().saveMidiToBuffer(midi);
    for (int p = 0; p < kNumControls; ++p)
    {
        storeFloat(preset.data() + 5 + 24 + 4 * p, hostile[p % kHostile]);
        storeFloat(midi.data() + 5 + 4 * p, hostile[p % kHostile]);
        for (int k = 0; k < kNumPrograms; ++k)
            storeFloat(bank.data() + 5 + 96 * k + 24 + 4 * p, hostile[(p + k) % kHostile]);
    }

    editor().loadBankFromBuffer(bank, false);
    effect().selectProgram(3);
    editor().loadPresetFromBuffer(preset, false);
    effect().selectProgram(4);
    editor().loadPresetFromBuffer(preset, true); // the same bytes reversed: other values
    editor().loadMidiFromBuffer(midi, false);
    const float expected[] = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.5f};
    for (int p = 0; p < kNumControls; ++p)
        EXPECT_EQ(effect().readProgram(3).values[p], expected[p % kHostile]) << p;
    for (int p = 0; p < kNumParameters; ++p)
        EXPECT_TRUE(plugin->getParameter(p) >= 0.0f && plugin->getParameter(p) <= 1.0f) << p;
    const auto chunk = plugin->getChunk();
    const auto state = readStateChunk(chunk.data(), chunk.size(), kPluginUniqueId);
    ASSERT_TRUE(state);
    for (const ProgramRecord& program : state->programs)
        for (float value : program.values)
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << value;
    for (float value : state->controllerValues)
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << value;

    // What a host sets stays as it comes.
    plugin->setParameter(kMix, 1.5f);
    EXPECT_EQ(plugin->getParameter(kMix), 1.5f);
}

TEST_F(PresetBuffers, MidiRecordBindsControllersAsTheHostWould)
{
    MidiRecordBytes record{};
    editor().saveMidiToBuffer(record);
    EXPECT_EQ(loadFloat(record.data() + 5, false), (102 + 0.5f) / 129); // default for Input
    storeFloat(record.data() + 5 + 4 * kMix, 0.5f);                     // parameter 20

    editor().loadMidiFromBuffer(record, false);
    EXPECT_EQ(effect().getControllerForParameter(kMix), 64);
    EXPECT_EQ(effect().getParameterForController(104), 999); // Mix's default is released
    EXPECT_EQ(plugin->getParameter(18 + kMix), 0.5f);
    plugin->controlChange(0, 64, 127);
    EXPECT_EQ(plugin->getParameter(kMix), 1.0f);

    MidiRecordBytes saved{};
    editor().saveMidiToBuffer(saved);
    EXPECT_EQ(saved, record);
}

// ---- files through the dialog seam -----------------------------------------------------

namespace
{
struct SeenRequest
{
    FileRequest::Mode mode;
    std::string title;
    std::string initialDirectory;
    std::string defaultName;
    std::string typeDescription;
    std::string extension;
};

// Stands in for the window's dialog: answers what the test tells it, remembers what it was asked.
class ScriptedDialog : public FileDialog
{
public:
    void choose(const FileRequest& request, Completion done) override
    {
        seen.push_back({request.mode, request.title, request.initialDirectory, request.defaultName,
                        request.type.description, request.type.extension});
        done(answer);
    }

    std::optional<std::string> answer;
    std::vector<SeenRequest> seen;
};

// The files' path memory is stored when a file is chosen, hence a store of its own.
class PresetFiles : public PrivateStoreTest
{
protected:
    void SetUp() override
    {
        PrivateStoreTest::SetUp();
        auto owned = std::make_unique<ScriptedDialog>();
        dialog = owned.get();
        editor().setFileDialog(std::move(owned));
    }

    // The next dialog answers this file of the temporary folder.
    std::string choose(const std::string& name)
    {
        dialog->answer = folder.file(name);
        return *dialog->answer;
    }

    TempFolder folder;
    ScriptedDialog* dialog = nullptr;
};
} // namespace

TEST_F(PresetFiles, EachKindSavesAndLoadsWithItsTitlesAndType)
{
    const std::filesystem::path workingDirectory = std::filesystem::current_path();
    const std::filesystem::path presets = folder.path() / fromUtf8("Presets \xc3\xa9t\xc3\xa9");
    std::filesystem::create_directory(presets);
    const std::string dir = toUtf8(presets) + "/";

    struct Kind
    {
        void (CPresetSystemEditor::*save)();
        void (CPresetSystemEditor::*load)(bool);
        const char* (CPresetSystemEditor::*currentFile)() const noexcept;
        const char* file;
        std::size_t bytes;
        const char* saveTitle;
        const char* loadTitle;
        const char* reversedTitle;
        const char* description;
        const char* extension;
    };
    const Kind kinds[] = {
        {&CPresetSystemEditor::savePresetFile, &CPresetSystemEditor::loadPresetFile,
         &CPresetSystemEditor::getCurrentPresetFile, "p.qel", 101, "Save preset", "Load preset",
         "Load preset (endian-reversed)", "QEL Preset", "qel"},
        {&CPresetSystemEditor::saveBankFile, &CPresetSystemEditor::loadBankFile,
         &CPresetSystemEditor::getCurrentBankFile, "b.qeb", 1637, "Save bank", "Load bank",
         "Load bank (endian-reversed)", "QEL Bank", "qeb"},
        {&CPresetSystemEditor::saveMidiFile, &CPresetSystemEditor::loadMidiFile,
         &CPresetSystemEditor::getCurrentMidiFile, "m.qem", 77, "Save midi settings as",
         "Load MIDI settings", "Load MIDI settings (endian-reversed)", "QEL MIDI Settings", "qem"},
    };
    for (const Kind& kind : kinds)
    {
        SCOPED_TRACE(kind.file);
        plugin->setParameter(kMix, 0.25f);
        plugin->setParameter(18 + kRate, (7 + 0.5f) / 129);
        dialog->answer = dir + kind.file;
        (editor().*kind.save)();
        EXPECT_EQ(std::filesystem::file_size(fromUtf8(dir + kind.file)), kind.bytes);
        EXPECT_EQ(editor().getCurrentDirectory(), dir);
        EXPECT_EQ((editor().*kind.currentFile)(), std::string(kind.file));

        plugin->setParameter(kMix, 0.75f);
        plugin->setParameter(18 + kRate, (9 + 0.5f) / 129);
        (editor().*kind.load)(false);
        if (kind.bytes == 77)
            EXPECT_EQ(effect().getControllerForParameter(kRate), 7);
        else
            EXPECT_EQ(plugin->getParameter(kMix), 0.25f);
        (editor().*kind.load)(true);
        (editor().*kind.save)();

        ASSERT_EQ(dialog->seen.size(), 4u);
        const SeenRequest& save = dialog->seen[0];
        EXPECT_EQ(save.mode, FileRequest::Mode::save);
        EXPECT_EQ(save.title, kind.saveTitle);
        EXPECT_EQ(save.defaultName, "");
        EXPECT_EQ(save.typeDescription, kind.description);
        EXPECT_EQ(save.extension, kind.extension);
        EXPECT_EQ(dialog->seen[1].mode, FileRequest::Mode::open);
        EXPECT_EQ(dialog->seen[1].title, kind.loadTitle);
        EXPECT_EQ(dialog->seen[1].initialDirectory, dir);
        EXPECT_EQ(dialog->seen[2].title, kind.reversedTitle);
        EXPECT_EQ(dialog->seen[3].defaultName, kind.file); // the name remembered for its kind
        dialog->seen.clear();
    }
    EXPECT_EQ(std::filesystem::current_path(), workingDirectory);
}

TEST_F(PresetFiles, ReadOnlyAndLongFilesLoadShortOnesChangeNothing)
{
    effect().selectProgram(5);
    choose("five.qel");
    editor().savePresetFile();
    auto bytes = readBytes(folder.file("five.qel"));
    effect().selectProgram(2);

    std::filesystem::permissions(folder.file("five.qel"), std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::group_read |
                                                              std::filesystem::perms::others_read);
    choose("five.qel");
    editor().loadPresetFile(false);
    EXPECT_EQ(effect().readProgram(2), effect().readProgram(5));

    bytes.resize(4096, std::byte{0x55});
    writeBytes(folder.file("long.qel"), bytes);
    effect().selectProgram(3);
    choose("long.qel");
    editor().loadPresetFile(false);
    EXPECT_EQ(effect().readProgram(3), effect().readProgram(5));

    // Files cut short of their record, of each kind: a bank that would blank programs 5 to
    // 16, MIDI settings that would unbind most controls, a preset with its tail missing.
    choose("whole.qeb");
    editor().saveBankFile();
    choose("whole.qem");
    editor().saveMidiFile();
    effect().renameProgram(9, "kept");
    effect().selectProgram(7);
    plugin->setParameter(kMix, 0.3f);
    const auto state = plugin->getChunk();
    const int updates = host.record.updateDisplayCalls;
    struct Cut
    {
        const char* whole;
        std::size_t keep;
        void (CPresetSystemEditor::*load)(bool);
    };
    for (const Cut& cut : {Cut{"whole.qeb", 500, &CPresetSystemEditor::loadBankFile},
                           Cut{"whole.qem", 20, &CPresetSystemEditor::loadMidiFile},
                           Cut{"five.qel", 100, &CPresetSystemEditor::loadPresetFile}})
    {
        SCOPED_TRACE(cut.whole);
        const auto whole = readBytes(folder.file(cut.whole));
        writeBytes(folder.file("cut"),
                   std::vector<std::byte>(whole.begin(), whole.begin() + cut.keep));
        for (bool reversed : {false, true})
        {
            choose("cut");
            (editor().*cut.load)(reversed);
        }
        EXPECT_EQ(plugin->getChunk(), state);
        EXPECT_EQ(effect().getCurrentProgramIndex(), 7);
        EXPECT_EQ(host.record.updateDisplayCalls, updates);
    }
}

TEST_F(PresetFiles, UnusableChoicesChangeNothing)
{
    choose("before.qel");
    editor().savePresetFile();
    const std::string directory = editor().getCurrentDirectory();
    plugin->setParameter(kMix, 0.3f);
    const auto state = plugin->getChunk();

    dialog->answer.reset(); // cancelled
    editor().loadBankFile(false);
    dialog->answer = "bare-name.qel"; // no directory: not the file the user chose
    editor().savePresetFile();
    editor().loadPresetFile(false);
    dialog->answer = folder.file(std::string(300, 'x') + ".qel"); // does not fit the path memory
    editor().savePresetFile();
    EXPECT_EQ(editor().getCurrentDirectory(), directory);
    EXPECT_EQ(editor().getCurrentPresetFile(), std::string("before.qel"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // A file that cannot be opened is remembered, and nothing is loaded, not even program 0.
    effect().selectProgram(4);
    choose("missing.qeb");
    editor().loadBankFile(false);
    EXPECT_EQ(editor().getCurrentBankFile(), std::string("missing.qeb"));
    EXPECT_EQ(effect().getCurrentProgramIndex(), 4);

    choose("after.qel");
    editor().setFileDialog(nullptr); // the window closed
    dialog = nullptr;
    editor().savePresetFile();
    EXPECT_FALSE(std::filesystem::exists(folder.file("after.qel")));
}

TEST_F(PresetFiles, SavingReplacesTheWholeFileAndLeavesNoTemporary)
{
    writeBytes(folder.file("old.qel"), std::vector<std::byte>(4000, std::byte{0x11}));
    choose("old.qel");
    editor().savePresetFile();
    PresetRecordBytes expected{};
    editor().savePresetToBuffer(expected);
    EXPECT_EQ(readBytes(folder.file("old.qel")),
              std::vector<std::byte>(expected.begin(), expected.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(PathMemory, WindowsPathsSplitAtEitherSeparator)
{
    const auto split = splitAtLastSeparator("C:\\Users\\me/Presets\\echo.qel", "\\/");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->directory, "C:\\Users\\me/Presets\\");
    EXPECT_EQ(split->file, "echo.qel");
    EXPECT_FALSE(splitAtLastSeparator("C:\\Presets\\", "\\/"));
    EXPECT_FALSE(splitAtLastSeparator("echo.qel", "\\/"));
}
