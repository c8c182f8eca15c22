// The preset strip of the editor window in a running instance, driven as a user drives it:
// mouse events on the window at the strip's coordinates, keys into the name field, the
// mouse position the window reports on idle. The window is the plug-in's own editor, opened
// offscreen through the dispatcher.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "gui/VSTGUI.h"
#include "gui/platform/OffscreenFrame.h"
#include "presets/CPresetSystemEditor.h"
#include "presets/CQEKickButton.h"
#include "presets/ControllerNames.h"
#include "presets/UserStore.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
// Points on the editor's own controls: the "Input" and "Rate" knobs, the small delay
// slider (shown as parameter 3) and the background.
constexpr CPoint kInputKnob(120, 40);
constexpr CPoint kRateKnob(770, 40);
constexpr CPoint kDelaySlider(464, 45);
constexpr CPoint kBackground(10, 10);

struct RecordingFileDialog : FileDialog
{
    explicit RecordingFileDialog(std::vector<std::string>& titles,
                                 std::optional<std::string> answer = std::nullopt)
        : titles(titles), answer(std::move(answer))
    {
    }
    void choose(const FileRequest& request, Completion done) override
    {
        titles.push_back(request.title);
        done(answer);
    }
    std::vector<std::string>& titles;
    std::optional<std::string> answer;
};

// Points inside the strip's controls.
constexpr CPoint kDefaultBankButton(67, 92);
constexpr CPoint kLoadBankButton(93, 93);
constexpr CPoint kSavePresetButton(122, 93);
constexpr CPoint kDefaultPresetButton(154, 92);
constexpr CPoint kLoadPresetButton(185, 93);
constexpr CPoint kNameField(264, 93);
constexpr CPoint kProgramMenu(326, 93);
constexpr CPoint kRockerLeft(345, 92);
constexpr CPoint kRockerRight(365, 92);
constexpr CPoint kStoreMemoA(396, 93);
constexpr CPoint kRecallMemoA(429, 93);
constexpr CPoint kDefaultMidiButton(642, 92);
constexpr CPoint kLoadMidiButton(666, 93);
constexpr CPoint kLearnSwitch(800, 93);
constexpr CPoint kClearSwitch(825, 93);
} // namespace

class PresetStrip : public PrivateStoreTest
{
protected:
    void SetUp() override
    {
        PrivateStoreTest::SetUp();
        ASSERT_EQ(plugin->dispatch(effEditOpen), 1);
        ASSERT_NE(editor().getFrame(), nullptr);
    }
    void TearDown() override
    {
        if (plugin)
            plugin->dispatch(effEditClose);
    }

    CFrame& frame() { return *editor().getFrame(); }
    OffscreenFrame& window() { return *static_cast<OffscreenFrame*>(frame().getPlatformFrame()); }
    CControl* control(std::int32_t tag)
    {
        for (std::int32_t i = 0; i < frame().getNbViews(); ++i)
        {
            CView* view = frame().getView(i);
            if (view->isTypeOf("CControl") && static_cast<CControl*>(view)->getTag() == tag)
                return static_cast<CControl*>(view);
        }
        return nullptr;
    }
    void click(CPoint where, std::int32_t buttons = kLButton)
    {
        frame().onMouseDown(where, CButtonState(buttons));
        frame().onMouseUp(where, CButtonState(buttons & ~kDoubleClick));
    }
    void key(std::int32_t character, std::uint8_t virt = 0)
    {
        CKeyCode code;
        code.character = character;
        code.virt = virt;
        frame().onKeyDown(code);
    }
    void typeName(const char* text)
    {
        click(kNameField);
        for (int i = 0; i < 40; ++i)
            key(0, VKEY_BACK);
        for (const char* p = text; *p; ++p)
            key(static_cast<unsigned char>(*p));
        key(0, VKEY_RETURN);
    }
    CTextEdit* nameField() { return static_cast<CTextEdit*>(control(33)); }
    COptionMenu* programMenu() { return static_cast<COptionMenu*>(control(45)); }
    CParamDisplay* controllerDisplay() { return static_cast<CParamDisplay*>(control(39)); }
    std::string displayUnderMouse(std::optional<CPoint> where)
    {
        window().setMousePosition(where);
        plugin->dispatch(effEditIdle);
        return controllerDisplay()->getDisplayText();
    }
    int currentProgram() { return effect().getCurrentProgramIndex(); }
    std::string menuTitle(int index) { return programMenu()->getEntry(index)->getTitle(); }

    std::vector<std::string> dialogTitles;
};

TEST_F(PresetStrip, OpenPlacesTheControlsInOrderWithTheirImages)
{
    struct Expected
    {
        std::int32_t tag;
        const char* type;
        CRect rect;
        std::int32_t bitmap;
    };
    // In the order they are made, after the editor's own controls.
    const Expected expected[] = {
        {33, "CTextEdit", CRect(208, 85, 320, 101), 128}, // re-centred on the 12-pixel font
        {45, "COptionMenu", CRect(320, 87, 333, 99), 128},
        {34, "CQERockerSwitch", CRect(340, 86, 370, 99), 995},
        {35, "CSaveLoadButton", CRect(85, 86, 102, 101), 990},
        {36, "CSaveLoadButton", CRect(34, 86, 51, 101), 991},
        {46, "CQEKickButton", CRect(51, 86, 83, 99), 992},
        {37, "CSaveLoadButton", CRect(177, 86, 194, 101), 990},
        {38, "CSaveLoadButton", CRect(114, 86, 131, 101), 991},
        {47, "CQEKickButton", CRect(132, 86, 176, 99), 993},
        {50, "CQEKickButton", CRect(421, 86, 438, 101), 990},
        {48, "CQEKickButton", CRect(388, 86, 405, 101), 991},
        {51, "CQEKickButton", CRect(486, 86, 503, 101), 990},
        {49, "CQEKickButton", CRect(452, 86, 469, 101), 991},
        {39, "CParamDisplay", CRect(690, 87, 780, 99), 128},
        {40, "CQEOnOffButton", CRect(788, 85, 812, 101), 998},
        {41, "CSaveLoadButton", CRect(658, 86, 675, 101), 990},
        {42, "CSaveLoadButton", CRect(610, 86, 627, 101), 991},
        {43, "CQEKickButton", CRect(628, 86, 656, 99), 994},
        {44, "CQEOnOffButton", CRect(813, 85, 837, 101), 999},
    };
    // Then the message line over the strip, hidden until there is something to say.
    const std::int32_t last = frame().getNbViews() - 1;
    EXPECT_TRUE(frame().getView(last)->isTypeOf("CMessageLine"));
    EXPECT_FALSE(frame().getView(last)->isVisible());
    const std::int32_t first = last - static_cast<std::int32_t>(std::size(expected));
    for (std::int32_t i = 0; i < first; ++i)
        EXPECT_LT(static_cast<CControl*>(frame().getView(i))->getTag(), 33);
    for (std::size_t i = 0; i < std::size(expected); ++i)
    {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.tag);
        CView* view = frame().getView(first + static_cast<std::int32_t>(i));
        ASSERT_TRUE(view->isTypeOf(e.type));
        auto* made = static_cast<CControl*>(view);
        EXPECT_EQ(made->getTag(), e.tag);
        EXPECT_EQ(made->getViewSize(), e.rect);
        EXPECT_EQ(made->getListener(), static_cast<CControlListener*>(&editor()));
        ASSERT_NE(made->getBackground(), nullptr);
        EXPECT_EQ(made->getBackground()->getResourceId(), e.bitmap);
        EXPECT_TRUE(made->getBackground()->isLoaded());
    }
    // The double-click buttons are the three default buttons.
    for (std::int32_t tag : {43, 46, 47, 48, 49, 50, 51})
        EXPECT_EQ(static_cast<CQEKickButton*>(control(tag))->isDoubleClickButton(),
                  tag == 43 || tag == 46 || tag == 47)
            << tag;

    // The background pieces sit where they are in the window's background.
    EXPECT_EQ(nameField()->getBackOffset(), CPoint(208, 85));
    EXPECT_EQ(programMenu()->getBackOffset(), CPoint(320, 87));
    EXPECT_EQ(controllerDisplay()->getBackOffset(), CPoint(690, 87));
    EXPECT_EQ(nameField()->getFontColor(), (CColor{36, 36, 32, 255}));
    EXPECT_EQ(nameField()->getFrameColor(), (CColor{36, 36, 32, 255}));
    EXPECT_EQ(nameField()->getFont().getSize(), kNormalFont->getSize());
    EXPECT_EQ(programMenu()->getStyle(), 0x1e00);
    EXPECT_EQ(programMenu()->getNbItemsPerColumn(), 17);

    // The menu lists the 17 programs; the field names the current one.
    ASSERT_EQ(programMenu()->getNbEntries(), 17);
    for (int k = 0; k < 17; ++k)
        EXPECT_EQ(menuTitle(k), plugin->programNameIndexed(k));
    EXPECT_EQ(programMenu()->getCurrentIndex(), 0);
    EXPECT_EQ(nameField()->getText(), plugin->programNameIndexed(0));
    EXPECT_EQ(controllerDisplay()->getDisplayText(), "");

    // Drawing the whole window touches every control.
    frame().drawAll();
}

TEST_F(PresetStrip, ReopeningEndsLearnAndClearModeAndClosingForgetsTheStrip)
{
    const std::int32_t views = frame().getNbViews();
    plugin->dispatch(effEditClose);
    EXPECT_EQ(editor().getFrame(), nullptr);
    EXPECT_FALSE(editor().CPresetSystemEditor::open(nullptr)); // no frame: nothing to add to
    // Without a window, the hooks, the idle pass and the file operations find nothing.
    effect().startLearn();
    effect().endLearn();
    plugin->dispatch(effEditIdle);
    editor().loadPresetFile(false);

    effect().selectProgram(4);
    effect().startUnlearn();
    ASSERT_EQ(plugin->dispatch(effEditOpen), 1);
    EXPECT_FALSE(effect().isUnlearning());
    EXPECT_EQ(control(44)->getValue(), 0.0f);
    EXPECT_EQ(programMenu()->getCurrentIndex(), 4);
    EXPECT_EQ(nameField()->getText(), plugin->programNameIndexed(4));
    EXPECT_EQ(frame().getNbViews(), views);

    effect().startLearn();
    plugin->dispatch(effEditClose);
    ASSERT_EQ(plugin->dispatch(effEditOpen), 1);
    EXPECT_FALSE(effect().isLearning());
}

TEST_F(PresetStrip, RockerStepsOneProgramPerClickAndHoldsAtTheEnds)
{
    effect().selectProgram(3);
    click(kRockerRight);
    EXPECT_EQ(currentProgram(), 4);
    EXPECT_EQ(programMenu()->getCurrentIndex(), 4);
    EXPECT_EQ(nameField()->getText(), plugin->programNameIndexed(4));
    click(kRockerLeft);
    click(kRockerLeft);
    EXPECT_EQ(currentProgram(), 2);

    // At the top, a step right applies program 16 again.
    effect().selectProgram(16);
    setProgramValue(effect(), 16, kMix, 0.125f);
    click(kRockerRight);
    EXPECT_EQ(currentProgram(), 16);
    EXPECT_EQ(plugin->getParameter(kMix), 0.125f);
    EXPECT_EQ(programMenu()->getCurrentIndex(), 16);

    effect().selectProgram(0);
    click(kRockerLeft);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(nameField()->getText(), plugin->programNameIndexed(0));
}

TEST_F(PresetStrip, MenuChoiceSelectsAndNamesTheProgram)
{
    const int updatesBefore = host.record.updateDisplayCalls;
    window().queueMenuChoice(7);
    click(kProgramMenu);
    EXPECT_EQ(currentProgram(), 7);
    EXPECT_EQ(programMenu()->getCurrentIndex(), 7);
    EXPECT_EQ(nameField()->getText(), plugin->programNameIndexed(7));
    EXPECT_GT(host.record.updateDisplayCalls, updatesBefore);
    ASSERT_EQ(window().menuRequests().size(), 1u);
    EXPECT_EQ(window().menuRequests()[0].itemsPerColumn, 17);

    window().queueMenuChoice(-1); // cancelled
    click(kProgramMenu);
    EXPECT_EQ(currentProgram(), 7);

    // Any name is a program to choose, a lone dash included.
    typeName("-");
    window().queueMenuChoice(2);
    click(kProgramMenu);
    window().queueMenuChoice(7);
    click(kProgramMenu);
    EXPECT_EQ(currentProgram(), 7);
    EXPECT_EQ(nameField()->getText(), std::string("-"));
    const PopupMenuItem& dash = window().menuRequests().back().items[7];
    EXPECT_EQ(dash.title, "-");
    EXPECT_FALSE(dash.separator);
    EXPECT_TRUE(dash.enabled);
    // The strip's tags name no parameter: no gesture reaches the host.
    EXPECT_TRUE(host.record.beginEdits.empty());
}

TEST_F(PresetStrip, TypedNameKeepsItsFirst24CharactersEverywhere)
{
    effect().selectProgram(5);
    programMenu()->setCurrent(5);
    typeName("abcdefghijklmnopqrstuvwxyz0123");
    const std::string kept = "abcdefghijklmnopqrstuvwx";
    EXPECT_EQ(nameField()->getText(), kept);
    EXPECT_EQ(menuTitle(5), kept);
    EXPECT_EQ(plugin->programName(), kept);
    EXPECT_EQ(plugin->programNameIndexed(5), kept);

    // A cut never splits a character: 23 letters and an e-acute keep the 23 letters.
    typeName("aaaaaaaaaaaaaaaaaaaaaaa\xe9");
    EXPECT_EQ(nameField()->getText(), std::string(23, 'a'));
    EXPECT_EQ(plugin->programNameIndexed(5), std::string(23, 'a'));
    EXPECT_TRUE(host.record.beginEdits.empty());
}

TEST_F(PresetStrip, TheNameFieldSelectsAllOnAClickAndKeepsALongNameInsideIt)
{
    const auto drawn = [&]
    {
        plugin->dispatch(effEditIdle);
        return frame().getBuffer();
    };
    const CRect field = nameField()->getViewSize();
    const auto left = static_cast<int>(field.left);
    const auto top = static_cast<int>(field.top);
    const auto right = static_cast<int>(field.right);
    const auto bottom = static_cast<int>(field.bottom);
    const auto outsideUnchanged = [&](const PixelBuffer& now, const PixelBuffer& before)
    {
        for (int y = 0; y < now.height; ++y)
            for (int x = 0; x < now.width; ++x)
                if (!field.pointInside(CPoint(x, y)) && now.at(x, y) != before.at(x, y))
                    return false;
        return true;
    };
    // The caret: a column of the font's colour over the text's height.
    const std::uint32_t ink = 0xff242420u;
    const auto caretColumn = [&](const PixelBuffer& now)
    {
        for (int x = left + 1; x < right - 1; ++x)
        {
            bool line = true;
            for (int y = top + 2; y < bottom - 2; ++y)
                line = line && now.at(x, y) == ink;
            if (line)
                return x;
        }
        return -1;
    };

    const PixelBuffer untouched = drawn();
    nameField()->setText("");
    const PixelBuffer empty = drawn();

    nameField()->setText("default");
    drawn();

    click(kNameField); // selects the whole name
    ASSERT_TRUE(nameField()->isEditing());
    EXPECT_EQ(nameField()->getSelectionAnchor(), 0u);
    EXPECT_EQ(nameField()->getCaret(), std::string("default").size());
    const std::string typed = "My long program name for the tape";
    for (const char c : typed)
    {
        key(static_cast<unsigned char>(c));
        const PixelBuffer now = drawn();
        ASSERT_TRUE(outsideUnchanged(now, untouched)) << nameField()->getEditText();
        // The caret stays in the field, at its right end once the text is wider.
        const int caret = caretColumn(now);
        ASSERT_GE(caret, left + 1) << nameField()->getEditText();
    }
    EXPECT_EQ(nameField()->getEditText(), typed); // the click's selection was replaced
    EXPECT_GT(caretColumn(drawn()), (left + right) / 2);

    key(0, VKEY_RETURN);
    EXPECT_EQ(nameField()->getText(), typed.substr(0, 24));
    const PixelBuffer committed = drawn();
    EXPECT_TRUE(outsideUnchanged(committed, untouched));
    EXPECT_EQ(caretColumn(committed), -1);
    // The name's start shows at the field's left margin, not cut.
    const auto inkIn = [&](int x)
    {
        for (int y = top + 1; y < bottom - 1; ++y)
            if (committed.at(x, y) != empty.at(x, y))
                return true;
        return false;
    };
    EXPECT_FALSE(inkIn(left + 1));
    EXPECT_TRUE(inkIn(left + 2) || inkIn(left + 3));
}

TEST_F(PresetStrip, HostRenameAndMemoRecallShowTheNewName)
{
    effect().selectProgram(3);
    programMenu()->setCurrent(3);
    char name[] = "from the host";
    plugin->dispatch(effSetProgramName, 0, 0, name);
    plugin->dispatch(effEditIdle); // shown at the next idle pass
    EXPECT_EQ(nameField()->getText(), std::string("from the host"));
    EXPECT_EQ(menuTitle(3), "from the host");

    click(kStoreMemoA);
    window().queueMenuChoice(9);
    click(kProgramMenu);
    click(kRecallMemoA);
    EXPECT_EQ(currentProgram(), 9);
    EXPECT_EQ(effect().readProgram(9), effect().readProgram(3));
    EXPECT_EQ(nameField()->getText(), std::string("from the host"));
    EXPECT_EQ(menuTitle(9), "from the host");
}

TEST_F(PresetStrip, DefaultButtonsStoreOnDoubleClickAndCtrlDeletes)
{
    BankRecordBytes bank;
    click(kDefaultBankButton); // a single click does nothing
    EXPECT_FALSE(userStore::readRecord(userStore::kDefaultBank, bank));

    click(kDefaultBankButton, kLButton | kDoubleClick);
    ASSERT_TRUE(userStore::readRecord(userStore::kDefaultBank, bank));
    BankRecordBytes expected{};
    editor().saveBankToBuffer(expected);
    EXPECT_EQ(bank, expected);
    click(kDefaultBankButton, kLButton | kDoubleClick | kControl);
    EXPECT_FALSE(userStore::readRecord(userStore::kDefaultBank, bank));

    PresetRecordBytes preset;
    click(kDefaultPresetButton, kLButton | kDoubleClick);
    EXPECT_TRUE(userStore::readRecord(userStore::kDefaultPreset, preset));
    click(kDefaultPresetButton, kLButton | kDoubleClick | kControl);
    EXPECT_FALSE(userStore::readRecord(userStore::kDefaultPreset, preset));

    // The MIDI default cannot be deleted: Ctrl stores as well.
    MidiRecordBytes midi;
    click(kDefaultMidiButton);
    EXPECT_FALSE(userStore::readRecord(userStore::kDefaultMidi, midi));
    click(kDefaultMidiButton, kLButton | kDoubleClick | kControl);
    EXPECT_TRUE(userStore::readRecord(userStore::kDefaultMidi, midi));
}

TEST_F(PresetStrip, RightClickOnALoadButtonAsksForTheReversedLoad)
{
    editor().setFileDialog(std::make_unique<RecordingFileDialog>(dialogTitles));
    click(kLoadPresetButton, kRButton);
    click(kLoadPresetButton);
    click(kLoadPresetButton, kRButton | kShift);
    click(kSavePresetButton, kRButton);
    click(kLoadBankButton, kRButton);
    click(kLoadMidiButton, kRButton);
    EXPECT_EQ(dialogTitles,
              (std::vector<std::string>{"Load preset (endian-reversed)", "Load preset",
                                        "Load preset", "Save preset", "Load bank (endian-reversed)",
                                        "Load MIDI settings (endian-reversed)"}));

    // Closing takes the dialog away with the window.
    plugin->dispatch(effEditClose);
    editor().loadPresetFile(false);
    EXPECT_EQ(dialogTitles.size(), 6u);
}

TEST_F(PresetStrip, LoadedBankRenamesTheMenuAndShowsProgramZero)
{
    TempFolder folder;
    effect().renameProgram(0, "bank zero");
    effect().renameProgram(11, "bank eleven");
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    effect().initFactoryPrograms();
    const std::string path = folder.file("mine.qeb");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bank.data()),
               static_cast<std::streamsize>(bank.size()));

    window().queueMenuChoice(6);
    click(kProgramMenu);
    editor().setFileDialog(std::make_unique<RecordingFileDialog>(dialogTitles, path));
    click(kLoadBankButton);
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_EQ(programMenu()->getCurrentIndex(), 0);
    EXPECT_EQ(menuTitle(0), "bank zero");
    EXPECT_EQ(menuTitle(11), "bank eleven");
    EXPECT_EQ(nameField()->getText(), std::string("bank zero"));
}

// Whatever went wrong is said on the message line over the strip, in words, and a failure
// never looks like a success: the file and the programs stay as they were.
TEST_F(PresetStrip, EveryFailedLoadOrSaveIsShownAndChangesNothing)
{
    TempFolder folder;
    const auto write = [&](const char* name, std::size_t bytes)
    {
        std::ofstream(folder.file(name), std::ios::binary) << std::string(bytes, '\x01');
        return folder.file(name);
    };
    const auto chooseAndClick = [&](const std::string& path, CPoint button)
    {
        window().queueFileChoice(path);
        click(button);
        return editor().shownMessage();
    };
    const std::string readOnly = write("mine.qel", 101);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    effect().selectProgram(3);
    const auto state = plugin->getChunk();

    EXPECT_EQ(chooseAndClick(readOnly, kSavePresetButton),
              "could not save 'mine.qel': the file is read-only");
    EXPECT_EQ(std::filesystem::file_size(readOnly), 101u);
    EXPECT_EQ(chooseAndClick(write("cut.qeb", 500), kLoadBankButton),
              "could not load 'cut.qeb': the file is cut short");
    EXPECT_EQ(chooseAndClick(write("other.qeb", 1637), kLoadBankButton),
              "could not load 'other.qeb': it is not a TARVA bank");
    EXPECT_EQ(chooseAndClick(folder.file("gone.qem"), kLoadMidiButton),
              "could not load 'gone.qem': the file cannot be read");
    EXPECT_EQ(plugin->getChunk(), state);

    // Shown over the strip until clicked away; the click reaches nothing under it.
    plugin->dispatch(effEditIdle);
    EXPECT_NE(editor().shownMessage(), "");
    click(kNameField);
    EXPECT_EQ(editor().shownMessage(), "");
    EXPECT_FALSE(nameField()->isEditing());

    // What worked says nothing.
    EXPECT_EQ(chooseAndClick(folder.file("fresh.qel"), kSavePresetButton), "");
    EXPECT_EQ(chooseAndClick(folder.file("fresh.qel"), kLoadPresetButton), "");
}

TEST_F(PresetStrip, LearnAndClearSwitchesExcludeEachOther)
{
    CControl* learn = control(40);
    CControl* clear = control(44);
    click(kClearSwitch);
    EXPECT_TRUE(effect().isUnlearning());
    EXPECT_EQ(clear->getValue(), 1.0f);

    click(kLearnSwitch);
    EXPECT_TRUE(effect().isLearning());
    EXPECT_FALSE(effect().isUnlearning());
    EXPECT_EQ(learn->getValue(), 1.0f);
    EXPECT_EQ(clear->getValue(), 0.0f);

    click(kClearSwitch);
    EXPECT_FALSE(effect().isLearning());
    EXPECT_EQ(learn->getValue(), 0.0f);
    EXPECT_EQ(clear->getValue(), 1.0f);
    click(kClearSwitch);
    EXPECT_FALSE(effect().isUnlearning());
    EXPECT_EQ(clear->getValue(), 0.0f);

    // Clear mode ends by itself on the first parameter change, and the switch follows.
    click(kClearSwitch);
    plugin->setParameter(kRate, 0.4f);
    EXPECT_EQ(effect().getControllerForParameter(kRate), 999);
    plugin->dispatch(effEditIdle);
    EXPECT_EQ(clear->getValue(), 0.0f);
}

TEST_F(PresetStrip, LearnedControllerEndsLearnModeAndResetsTheSwitch)
{
    click(kLearnSwitch);
    plugin->setParameter(kRate, 0.3f); // touched
    plugin->controlChange(0, 7, 64);
    EXPECT_EQ(effect().getControllerForParameter(kRate), 7);
    EXPECT_FALSE(effect().isLearning());
    plugin->dispatch(effEditIdle); // the switch follows and is drawn in the same pass
    EXPECT_EQ(control(40)->getValue(), 0.0f);
    EXPECT_FALSE(control(40)->isDirty());
}

TEST_F(PresetStrip, ControllerDisplayNamesTheBindingUnderTheMouse)
{
    EXPECT_EQ(displayUnderMouse(kInputKnob), "control 102"); // the default map
    effect().unassignParameter(kRate);
    EXPECT_EQ(displayUnderMouse(kRateKnob), "not assigned");
    EXPECT_EQ(displayUnderMouse(kDelaySlider), "control 105"); // the slider sets parameter 3
    EXPECT_EQ(displayUnderMouse(kNameField), "");
    EXPECT_EQ(displayUnderMouse(CPoint(735, 93)), ""); // the display itself
    EXPECT_EQ(displayUnderMouse(kBackground), "");
    effect().assignController(kInput, 7);
    EXPECT_EQ(displayUnderMouse(kInputKnob), "main volume");

    // Outside the window the display keeps what it showed.
    EXPECT_EQ(displayUnderMouse(std::nullopt), "main volume");
}

TEST(ControllerDisplayText, ShowsEveryNameOfTheTableAtItsValue)
{
    char text[256];
    for (int index = 0; index < 130; ++index)
    {
        ASSERT_TRUE(presetStrip::controllerDisplayText(presetStrip::controllerDisplayValue(index),
                                                       text, nullptr));
        EXPECT_STREQ(text, controllerName(index)) << index;
    }
    presetStrip::controllerDisplayText(1.0f, text, nullptr);
    EXPECT_STREQ(text, "");
}

TEST_F(PresetStrip, InstanceReleasedWithTheWindowOpenAndANameHalfTyped)
{
    click(kNameField);
    key('x');
    CControl* learn = control(40);
    learn->remember();
    const int updatesBefore = host.record.updateDisplayCalls;
    plugin.reset();
    // The typed name is not committed into an effect that is being destroyed.
    EXPECT_EQ(host.record.updateDisplayCalls, updatesBefore);
    EXPECT_TRUE(host.record.beginEdits.empty()) << host.record.beginEdits.size();
    EXPECT_TRUE(host.record.otherOpcodes.empty()) << host.record.otherOpcodes.size();
    EXPECT_EQ(learn->getNbReference(), 1); // only the test's own reference is left
    learn->forget();
}

TEST_F(PresetStrip, AChunkFromTheHostIsShownOnTheNextIdlePass)
{
    // A project saved with program 5 current and renamed, reloaded into an open window.
    PluginInstance other(host, inProcessEntry());
    effectOf(other).selectProgram(5);
    char name[] = "saved with the song";
    other.dispatch(effSetProgramName, 0, 0, name);
    const auto chunk = other.getChunk();

    ASSERT_EQ(plugin->setChunk(chunk), 0);
    window().setMousePosition(std::nullopt);
    plugin->dispatch(effEditIdle);
    EXPECT_EQ(nameField()->getText(), std::string("saved with the song"));
    EXPECT_EQ(programMenu()->getCurrentIndex(), 5);
    EXPECT_EQ(menuTitle(5), "saved with the song");
}
