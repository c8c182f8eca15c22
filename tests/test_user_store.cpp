// The per-user store: defaults that shape every new instance, A/B memos shared between
// instances, and the path memory stored when a file is chosen.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/CPresetSystemEditor.h"

#include <filesystem>
#include <set>
#include <string>

namespace
{
// A file dialog that always answers the same path.
class Answer : public FileDialog
{
public:
    explicit Answer(std::string path) : path(std::move(path)) {}
    void choose(const FileRequest&, Completion done) override { done(path); }
    std::string path;
};
} // namespace

using UserStore = PrivateStoreTest;

TEST_F(UserStore, NothingStoredLeavesTheFactoryStateAndTellsTheHostNothing)
{
    // The instance of this test was created with an empty store, and not opened yet.
    EXPECT_EQ(host.record.updateDisplayCalls, 0);
    EXPECT_TRUE(host.record.automations.empty());
    EXPECT_EQ(plugin->programNameIndexed(7), "16th downsampled");
    EXPECT_EQ(plugin->getParameter(18), (102 + 0.5f) / 129);
    EXPECT_STREQ(editor().getCurrentDirectory(), "");
    EXPECT_STREQ(editor().getCurrentPresetFile(), "");
#if !defined(_WIN32)
    const auto factory = plugin->getChunk();

    // A store that cannot be read: its folder is a file, or each value a folder.
    TempFolder elsewhere;
    writeBytes(elsewhere.path() / "config", {});
    for (const char* name : {"DefaultBank", "DefaultPreset", "DefaultMidi", "CurrDir"})
        std::filesystem::create_directories(userStore.value(name));
    for (bool configIsAFile : {true, false})
    {
        std::optional<ScopedEnvironment> unreadable;
        if (configIsAFile)
            unreadable.emplace("XDG_CONFIG_HOME", elsewhere.file("config"));
        FakeHost otherHost;
        PluginInstance other(otherHost, inProcessEntry());
        ASSERT_TRUE(other);
        EXPECT_EQ(other.getChunk(), factory) << configIsAFile;
        EXPECT_EQ(otherHost.record.updateDisplayCalls, 0);
    }
#endif
}

TEST_F(UserStore, NewInstancesStartFromDefaultBankThenPresetThenMidi)
{
    effect().renameProgram(0, "bank zero");
    effect().renameProgram(7, "bank seven");
    setProgramValue(effect(), 7, kMix, 0.125f);
    editor().storeDefaultBank();

    setProgramValue(effect(), 7, kMix, 0.5f); // changes after storing stay out of the default
    effect().renameProgram(0, "preset on top");
    effect().selectProgram(0);
    plugin->setParameter(kMix, 0.2f);
    editor().storeDefaultPreset();

    plugin->setParameter(18 + kMix, (64 + 0.5f) / 129);
    editor().storeDefaultMidi();
    // Records: files of their own, or binary values in the registry.
    EXPECT_EQ(userStore.storedNames(),
              (std::set<std::string>{"DefaultBank", "DefaultPreset", "DefaultMidi"}));
    EXPECT_EQ(userStore.storedRecord("DefaultBank").value_or(std::vector<std::byte>{}).size(),
              1637u);
    EXPECT_EQ(userStore.storedRecord("DefaultPreset").value_or(std::vector<std::byte>{}).size(),
              101u);
    EXPECT_EQ(userStore.storedRecord("DefaultMidi").value_or(std::vector<std::byte>{}).size(), 77u);

    PluginInstance next(host, inProcessEntry());
    ASSERT_TRUE(next);
    QEL& nextEffect = effectOf(next);
    EXPECT_EQ(nextEffect.getCurrentProgramIndex(), 0);
    EXPECT_EQ(next.programName(), "preset on top");
    EXPECT_EQ(next.getParameter(kMix), 0.2f);
    EXPECT_EQ(next.programNameIndexed(7), "bank seven");
    EXPECT_EQ(nextEffect.readProgram(7).values[kMix], 0.125f);
    next.controlChange(0, 64, 0);
    EXPECT_EQ(next.getParameter(kMix), 0.0f);
}

// Some hosts cannot answer a callback from an effect they do not hold yet: however much the
// stored defaults make current while the instance is built, the entry point asks the host
// its version and nothing else, and the host hears of the new program once it opens it.
TEST_F(UserStore, UntilTheEntryPointReturnsTheHostIsOnlyAskedItsVersion)
{
    effect().renameProgram(0, "stored");
    editor().storeDefaultBank();
    editor().storeDefaultPreset();
    plugin->setParameter(18 + kMix, (64 + 0.5f) / 129);
    editor().storeDefaultMidi();

    FakeHost fresh;
    PluginInstance next(fresh, inProcessEntry());
    ASSERT_TRUE(next);
    EXPECT_EQ(next.programName(), "stored"); // the defaults were loaded
    EXPECT_EQ(fresh.record.opcodesInsideEntryPoint,
              (std::vector<VstInt32>{audioMasterVersion, audioMasterVersion}));
    EXPECT_EQ(fresh.record.updateDisplayCalls, 0);

    next.dispatch(effOpen);
    EXPECT_EQ(fresh.record.updateDisplayCalls, 1);
    next.dispatch(effOpen); // some hosts open twice
    EXPECT_EQ(fresh.record.updateDisplayCalls, 1);
    effectOf(next).selectProgram(3);
    EXPECT_EQ(fresh.record.updateDisplayCalls, 2);
}

TEST_F(UserStore, ValuesAreReadOnlyWhenTheyFitTheirRecord)
{
    const auto factory = plugin->getChunk();
    effect().selectProgram(5);
    editor().storeDefaultPreset();
    editor().storeDefaultBank();
    editor().storeDefaultMidi();
    auto preset = userStore.storedRecord("DefaultPreset").value();
    const auto bank = userStore.storedRecord("DefaultBank").value();
    const auto midi = userStore.storedRecord("DefaultMidi").value();

    preset.push_back(std::byte{0}); // one byte longer than a preset record: not read
    userStore.storeRecord("DefaultPreset", preset);
    EXPECT_EQ(PluginInstance(host, inProcessEntry()).programName(), "default");

    // Shorter values are cut records: a 500-byte bank would blank programs 5 to 16, a
    // 20-byte MIDI value would unbind 14 controls.
    userStore.storeRecord("DefaultPreset", std::vector(preset.begin(), preset.begin() + 50));
    userStore.storeRecord("DefaultBank", std::vector(bank.begin(), bank.begin() + 500));
    userStore.storeRecord("DefaultMidi", std::vector(midi.begin(), midi.begin() + 20));
    EXPECT_EQ(PluginInstance(host, inProcessEntry()).getChunk(), factory);
}

TEST_F(UserStore, MemoStoredInOneInstanceIsRecalledInAnother)
{
    effect().selectProgram(3);
    editor().storeMemoA();

    PluginInstance other(host, inProcessEntry());
    effectOf(other).selectProgram(9);
    const auto before = other.getChunk();
    editorOf(other).recallMemoB(); // never stored
    EXPECT_EQ(other.getChunk(), before);

    editorOf(other).recallMemoA();
    EXPECT_EQ(effectOf(other).getCurrentProgramIndex(), 9);
    EXPECT_EQ(other.programName(), "didgee");
    EXPECT_EQ(effectOf(other).readProgram(9), effect().readProgram(3));
}

TEST_F(UserStore, DeletingTheDefaultsRestoresTheFactoryPrograms)
{
    effect().renameProgram(7, "mine");
    editor().storeDefaultBank();
    editor().storeDefaultPreset();
    EXPECT_EQ(PluginInstance(host, inProcessEntry()).programNameIndexed(7), "mine");

    editor().deleteDefaultBank();
    editor().deleteDefaultPreset();
    editor().deleteDefaultBank(); // nothing left to delete
    PluginInstance next(host, inProcessEntry());
    EXPECT_EQ(next.programNameIndexed(7), "16th downsampled");
    EXPECT_EQ(next.programName(), "default");
}

TEST_F(UserStore, PathsAreKeptWhenTheInstanceIsReleased)
{
    TempFolder files;
    const std::string folder = toUtf8(files.path() / fromUtf8("Sp\u00e4tz\u00fcnder")) + "/";
    std::filesystem::create_directory(fromUtf8(folder));
    editor().setFileDialog(std::make_unique<Answer>(folder + "\u03b5cho.qeb"));
    editor().saveBankFile();
    plugin.reset();

    // UTF-8 text without a terminator in a file, or a UTF-16 string value in the registry.
    EXPECT_EQ(userStore.storedText("CurrDir"), folder);
    EXPECT_EQ(userStore.storedText("CurrBank"), "\u03b5cho.qeb");
    PluginInstance next(host, inProcessEntry());
    EXPECT_EQ(editorOf(next).getCurrentDirectory(), folder);
    EXPECT_STREQ(editorOf(next).getCurrentBankFile(), "\u03b5cho.qeb");
    EXPECT_STREQ(editorOf(next).getCurrentPresetFile(), "");
}

// Two open instances: each choice is stored at once and only what it changed, so the
// latest choice wins, whichever instance is released last.
TEST_F(UserStore, PathsAreStoredWhenChosenAndOpenInstancesKeepEachOthers)
{
    TempFolder files;
    const std::string first = files.file("first") + "/";
    const std::string second = files.file("second") + "/";
    std::filesystem::create_directory(first);
    std::filesystem::create_directory(second);

    editor().setFileDialog(std::make_unique<Answer>(first + "one.qeb"));
    editor().saveBankFile();
    FakeHost otherHost;
    auto other = std::make_unique<PluginInstance>(otherHost, inProcessEntry());
    EXPECT_EQ(editorOf(*other).getCurrentDirectory(), first); // stored before any release
    editorOf(*other).setFileDialog(std::make_unique<Answer>(second + "two.qel"));
    editorOf(*other).loadPresetFile(false); // a missing file: the choice is still remembered

    other.reset();
    plugin.reset(); // released last, with the older folder in its memory
    PluginInstance next(host, inProcessEntry());
    EXPECT_EQ(editorOf(next).getCurrentDirectory(), second);
    EXPECT_STREQ(editorOf(next).getCurrentPresetFile(), "two.qel");
    EXPECT_STREQ(editorOf(next).getCurrentBankFile(), "one.qeb");
}

#if !defined(_WIN32)
TEST(UserStoreLocation, WithoutAnAbsoluteConfigHomeTheStoreIsUnderHome)
{
    TempFolder home;
    ScopedEnvironment homeVariable("HOME", home.path().string());
    for (const char* configHome : {"relative/config", ""})
    {
        ScopedEnvironment configVariable("XDG_CONFIG_HOME", std::string(configHome));
        FakeHost host;
        PluginInstance plugin(host, inProcessEntry());
        editorOf(plugin).storeMemoB();
        EXPECT_TRUE(std::filesystem::exists(home.path() / ".config/QEL-sonics/TARVA/MemoB"));
        std::filesystem::remove_all(home.path() / ".config");
    }
}

TEST(UserStoreLocation, MissingFoldersAboveTheStoreAreMadePrivate)
{
    TempFolder root;
    const std::filesystem::path configHome = root.path() / "not" / "yet";
    ScopedEnvironment configVariable("XDG_CONFIG_HOME", configHome.string());
    const auto rootPermissions = std::filesystem::status(root.path()).permissions();
    {
        FakeHost host;
        PluginInstance plugin(host, inProcessEntry());
        editorOf(plugin).storeMemoA();
        // Paths are written on their own way: stored when a file is chosen.
        editorOf(plugin).setFileDialog(std::make_unique<Answer>(root.file("a.qel")));
        editorOf(plugin).loadPresetFile(false);
    }
    EXPECT_TRUE(std::filesystem::exists(configHome / "QEL-sonics/TARVA/MemoA"));
    EXPECT_TRUE(std::filesystem::exists(configHome / "QEL-sonics/TARVA/CurrDir"));
    for (const auto& folder : {root.path() / "not", configHome, configHome / "QEL-sonics",
                               configHome / "QEL-sonics/TARVA"})
        EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all)
            << folder;
    EXPECT_EQ(std::filesystem::status(root.path()).permissions(), rootPermissions);
}
#endif
