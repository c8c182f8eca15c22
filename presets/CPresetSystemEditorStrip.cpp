// The window half of the preset system's editor: the strip of preset controls along the
// bottom of the editor window, what its controls do, and the controller display's idle.
#include "presets/CPresetSystemEditor.h"

#include "gui/controls/CMessageLine.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CTextEdit.h"
#include "presets/CPresetSystemEffect.h"
#include "presets/CQEKickButton.h"
#include "presets/CQEOnOffButton.h"
#include "presets/CQERockerSwitch.h"
#include "presets/CSaveLoadButton.h"
#include "presets/ControllerNames.h"
#include "presets/FrameFileDialog.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
constexpr std::int32_t kBackgroundBitmap = 128; // the editor's background
constexpr std::int32_t kLoadBitmap = 990;
constexpr std::int32_t kSaveBitmap = 991;
constexpr std::int32_t kDefaultBankBitmap = 992;
constexpr std::int32_t kDefaultPresetBitmap = 993;
constexpr std::int32_t kDefaultMidiBitmap = 994;
constexpr std::int32_t kRockerBitmap = 995;
constexpr std::int32_t kLearnBitmap = 998;
constexpr std::int32_t kClearBitmap = 999;

// In window pixels: left, top, right, bottom.
constexpr CRect kSaveBankRect(34, 86, 51, 101);
constexpr CRect kDefaultBankRect(51, 86, 83, 99);
constexpr CRect kLoadBankRect(85, 86, 102, 101);
constexpr CRect kSavePresetRect(114, 86, 131, 101);
constexpr CRect kDefaultPresetRect(132, 86, 176, 99);
constexpr CRect kLoadPresetRect(177, 86, 194, 101);
constexpr CRect kNameFieldRect(208, 86, 320, 101); // re-centred on the font
constexpr CRect kProgramMenuRect(320, 87, 333, 99);
constexpr CRect kRockerRect(340, 86, 370, 99);
constexpr CRect kStoreMemoARect(388, 86, 405, 101);
constexpr CRect kRecallMemoARect(421, 86, 438, 101);
constexpr CRect kStoreMemoBRect(452, 86, 469, 101);
constexpr CRect kRecallMemoBRect(486, 86, 503, 101);
constexpr CRect kSaveMidiRect(610, 86, 627, 101);
constexpr CRect kDefaultMidiRect(628, 86, 656, 99);
constexpr CRect kLoadMidiRect(658, 86, 675, 101);
constexpr CRect kControllerDisplayRect(690, 87, 780, 99);
constexpr CRect kLearnRect(788, 85, 812, 101);
constexpr CRect kClearRect(813, 85, 837, 101);
// Over the name field, the menu, the rocker and the memos while it has something to say.
constexpr CRect kMessageRect(208, 86, 600, 101);

constexpr CColor kTextColor{36, 36, 32, 255};
constexpr CColor kFieldBackColor{189, 207, 218, 255};
constexpr CColor kMessageBackColor{242, 214, 150, 255};
// Check mark on the current entry, the list over the control, no title and no frame:
// the menu is a small button on the background.
constexpr std::int32_t kProgramMenuStyle = 0x1e00;
static_assert(kProgramMenuStyle ==
              (kCheckStyle | kPopupStyle | kNoMenuTextStyle | kNoMenuFrameStyle));

// A bitmap resource held while the controls that show it are made; they keep their own
// references.
class BitmapResource
{
public:
    explicit BitmapResource(std::int32_t id)
        : bitmap(new (std::nothrow) CBitmap(CResourceDescription(id)))
    {
    }
    ~BitmapResource()
    {
        if (bitmap)
            bitmap->forget();
    }
    BitmapResource(const BitmapResource&) = delete;
    BitmapResource& operator=(const BitmapResource&) = delete;
    CBitmap* get() const noexcept { return bitmap; }

private:
    CBitmap* bitmap;
};

// A control whose allocation failed stays out, and its pointer null.
template <class Control> Control* addTo(CFrame* frame, Control* control)
{
    if (control)
        frame->addView(control);
    return control;
}

// Centred vertically on its own middle: the font's size and 2 pixels above and below it,
// in whole pixels.
CRect centredOnFont(const CRect& rect, CCoord fontSize)
{
    const auto top = static_cast<int>(rect.top);
    const auto bottom = static_cast<int>(rect.bottom);
    const auto halfFont = static_cast<int>(fontSize) / 2;
    const int middle = (top + bottom) / 2;
    return CRect(rect.left, middle - halfFont - 2, rect.right, middle + halfFont + 2);
}

// At most 24 bytes of UTF-8, never ending inside a character.
void cutProgramName(const char* text, char (&cut)[kProgramNameBytes + 1]) noexcept
{
    std::size_t length = 0;
    while (length < kProgramNameBytes && text[length] != '\0')
        ++length;
    if (text[length] != '\0')
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xc0) == 0x80)
            --length;
    std::memcpy(cut, text, length);
    cut[length] = '\0';
}
} // namespace

float presetStrip::controllerDisplayValue(int displayIndex) noexcept
{
    return stepValue(displayIndex, kNumControllerNames);
}

bool presetStrip::controllerDisplayText(float value, char utf8String[256], void*) noexcept
{
    const char* name = controllerName(stepIndex(value, kNumControllerNames));
    std::size_t length = std::strlen(name);
    length = std::min<std::size_t>(length, 255);
    std::memcpy(utf8String, name, length);
    utf8String[length] = '\0';
    return true;
}

bool CPresetSystemEditor::open(void* ptr)
{
    if (frame == nullptr || presetEffect == nullptr)
        return false;
    AEffGUIEditor::open(ptr); // records the parent window; the derived editor may have too
    try
    {
        buildStrip();
    }
    catch (...)
    {
        // Out of memory: the controls made so far stay; every use tests for them.
    }
    try
    {
        setFileDialog(std::make_unique<FrameFileDialog>(frame));
    }
    catch (...)
    {
        // Without a dialog the file buttons do nothing.
    }
    // Both switches start off, and so do the modes they show.
    presetEffect->endLearn();
    presetEffect->endUnlearn();
    return true;
}

void CPresetSystemEditor::buildStrip()
{
    const BitmapResource background(kBackgroundBitmap);
    CBitmap* const back = background.get();
    // The generation first: a change after it shows at the next idle pass.
    shownProgramGeneration = presetEffect->getProgramGeneration();
    const ProgramTable programs = presetEffect->readPrograms();
    const int current = std::clamp(presetEffect->getCurrentProgramIndex(), 0, kNumPrograms - 1);
    char name[kProgramNameBytes + 1];
    copyProgramName(programs[current], name);

    const CRect fieldRect = centredOnFont(kNameFieldRect, kNormalFont->getSize());
    nameField = addTo(frame, new (std::nothrow)
                                 CTextEdit(fieldRect, this, presetStrip::kProgramName, name, back));
    if (nameField)
    {
        nameField->setBackOffset(fieldRect.getTopLeft());
        nameField->setFontColor(kTextColor);
        nameField->setBackColor(kFieldBackColor);
        nameField->setFrameColor(kTextColor);
        nameField->setFont(kNormalFont);
        nameField->setHoriAlign(kCenterText);
    }

    programMenu = addTo(frame, new (std::nothrow)
                                   COptionMenu(kProgramMenuRect, this, presetStrip::kProgramMenu,
                                               back, nullptr, kProgramMenuStyle));
    if (programMenu)
    {
        programMenu->setBackOffset(kProgramMenuRect.getTopLeft());
        programMenu->setNbItemsPerColumn(kNumPrograms);
        for (int k = 0; k < kNumPrograms; ++k)
        {
            char title[kProgramNameBytes + 1];
            copyProgramName(programs[k], title);
            programMenu->addEntry(title);
        }
        programMenu->setCurrent(current);
    }

    {
        const BitmapResource rockerImages(kRockerBitmap);
        rocker =
            addTo(frame, new (std::nothrow) CQERockerSwitch(
                             kRockerRect, this, presetStrip::kPreviousNext, rockerImages.get()));
    }
    {
        const BitmapResource load(kLoadBitmap);
        const BitmapResource save(kSaveBitmap);
        const BitmapResource bankDefault(kDefaultBankBitmap);
        loadBankButton = addTo(frame, new (std::nothrow) CSaveLoadButton(
                                          kLoadBankRect, this, presetStrip::kLoadBank, load.get()));
        saveBankButton = addTo(frame, new (std::nothrow) CSaveLoadButton(
                                          kSaveBankRect, this, presetStrip::kSaveBank, save.get()));
        defaultBankButton = addTo(frame, new (std::nothrow) CQEKickButton(kDefaultBankRect, this,
                                                                          presetStrip::kDefaultBank,
                                                                          bankDefault.get(), true));
    }
    {
        const BitmapResource load(kLoadBitmap);
        const BitmapResource save(kSaveBitmap);
        const BitmapResource presetDefault(kDefaultPresetBitmap);
        loadPresetButton =
            addTo(frame, new (std::nothrow) CSaveLoadButton(kLoadPresetRect, this,
                                                            presetStrip::kLoadPreset, load.get()));
        savePresetButton =
            addTo(frame, new (std::nothrow) CSaveLoadButton(kSavePresetRect, this,
                                                            presetStrip::kSavePreset, save.get()));
        defaultPresetButton =
            addTo(frame, new (std::nothrow)
                             CQEKickButton(kDefaultPresetRect, this, presetStrip::kDefaultPreset,
                                           presetDefault.get(), true));
    }
    const BitmapResource load(kLoadBitmap);
    const BitmapResource save(kSaveBitmap);
    recallMemoAButton =
        addTo(frame, new (std::nothrow) CQEKickButton(kRecallMemoARect, this,
                                                      presetStrip::kRecallMemoA, load.get()));
    storeMemoAButton =
        addTo(frame, new (std::nothrow) CQEKickButton(kStoreMemoARect, this,
                                                      presetStrip::kStoreMemoA, save.get()));
    recallMemoBButton =
        addTo(frame, new (std::nothrow) CQEKickButton(kRecallMemoBRect, this,
                                                      presetStrip::kRecallMemoB, load.get()));
    storeMemoBButton =
        addTo(frame, new (std::nothrow) CQEKickButton(kStoreMemoBRect, this,
                                                      presetStrip::kStoreMemoB, save.get()));

    controllerDisplay =
        addTo(frame, new (std::nothrow) CParamDisplay(kControllerDisplayRect, back));
    if (controllerDisplay)
    {
        controllerDisplay->setTag(presetStrip::kControllerDisplay);
        controllerDisplay->setListener(this);
        controllerDisplay->setValueToStringProc(presetStrip::controllerDisplayText);
        controllerDisplay->setHoriAlign(kCenterText);
        controllerDisplay->setFont(kNormalFont);
        controllerDisplay->setFontColor(kTextColor);
        controllerDisplay->setFrameColor(kTextColor);
        controllerDisplay->setBackOffset(kControllerDisplayRect.getTopLeft());
        // Empty until the first idle pass finds the mouse.
        controllerDisplay->setValue(
            presetStrip::controllerDisplayValue(presetStrip::kNothingUnderMouse));
    }

    const BitmapResource learnImages(kLearnBitmap);
    const BitmapResource midiDefault(kDefaultMidiBitmap);
    const BitmapResource clearImages(kClearBitmap);
    learnSwitch = addTo(frame, new (std::nothrow) CQEOnOffButton(
                                   kLearnRect, this, presetStrip::kLearn, learnImages.get()));
    loadMidiButton = addTo(frame, new (std::nothrow) CSaveLoadButton(
                                      kLoadMidiRect, this, presetStrip::kLoadMidi, load.get()));
    saveMidiButton = addTo(frame, new (std::nothrow) CSaveLoadButton(
                                      kSaveMidiRect, this, presetStrip::kSaveMidi, save.get()));
    defaultMidiButton = addTo(frame, new (std::nothrow) CQEKickButton(kDefaultMidiRect, this,
                                                                      presetStrip::kDefaultMidi,
                                                                      midiDefault.get(), true));
    clearSwitch = addTo(frame, new (std::nothrow) CQEOnOffButton(
                                   kClearRect, this, presetStrip::kClear, clearImages.get()));

    // Last, so that it lies over the controls it covers while it is shown.
    const CRect messageRect = centredOnFont(kMessageRect, kNormalFont->getSize());
    messageLine = addTo(frame, new (std::nothrow) CMessageLine(messageRect));
    if (messageLine)
    {
        messageLine->setTag(-1); // shows no binding when the mouse is over it
        messageLine->setFont(kNormalFont);
        messageLine->setFontColor(kTextColor);
        messageLine->setBackColor(kMessageBackColor);
        messageLine->setFrameColor(kTextColor);
    }
}

void CPresetSystemEditor::showMessage(std::string text)
{
    if (messageLine == nullptr)
        return;
    messageLine->setMessage(std::move(text));
    messageEnds = std::chrono::steady_clock::now() + std::chrono::seconds(kMessageSeconds);
}

void CPresetSystemEditor::expireMessage()
{
    if (messageLine && messageLine->isVisible() && std::chrono::steady_clock::now() >= messageEnds)
        messageLine->setMessage({});
}

std::string CPresetSystemEditor::shownMessage() const
{
    return messageLine && messageLine->isVisible() ? messageLine->getMessage() : std::string();
}

void CPresetSystemEditor::close()
{
    nameField = nullptr;
    programMenu = nullptr;
    rocker = nullptr;
    loadBankButton = nullptr;
    saveBankButton = nullptr;
    defaultBankButton = nullptr;
    loadPresetButton = nullptr;
    savePresetButton = nullptr;
    defaultPresetButton = nullptr;
    recallMemoAButton = nullptr;
    storeMemoAButton = nullptr;
    recallMemoBButton = nullptr;
    storeMemoBButton = nullptr;
    controllerDisplay = nullptr;
    loadMidiButton = nullptr;
    saveMidiButton = nullptr;
    defaultMidiButton = nullptr;
    learnSwitch = nullptr;
    clearSwitch = nullptr;
    messageLine = nullptr;
    setFileDialog(nullptr);
    AEffGUIEditor::close();
}

void CPresetSystemEditor::idle()
{
    showEffectState(); // first, so that this pass draws it
    expireMessage();
    AEffGUIEditor::idle();
    updateControllerDisplay();
}

void CPresetSystemEditor::showEffectState()
{
    if (presetEffect == nullptr || frame == nullptr)
        return;
    const std::uint32_t generation = presetEffect->getProgramGeneration();
    if (generation != shownProgramGeneration)
    {
        shownProgramGeneration = generation;
        showPrograms();
    }
    showModes();
}

// The switches follow the modes: a mode ended elsewhere (a learned controller, a control
// cleared, another switch) turns its switch off.
void CPresetSystemEditor::showModes()
{
    const auto show = [](CQEOnOffButton* button, bool on)
    {
        const float value = on ? 1.0f : 0.0f;
        if (button && button->getValue() != value)
            button->setValue(value);
    };
    show(learnSwitch, presetEffect->isLearning());
    show(clearSwitch, presetEffect->isUnlearning());
}

int CPresetSystemEditor::parameterForTag(std::int32_t tag) const
{
    return isControl(tag) ? tag : -1;
}

bool CPresetSystemEditor::updateControllerDisplay()
{
    if (presetEffect == nullptr || frame == nullptr || controllerDisplay == nullptr)
        return false;
    CPoint where;
    if (!frame->getCurrentMouseLocation(where))
        return false;
    int displayIndex = presetStrip::kNothingUnderMouse;
    const CView* view = frame->getViewAt(where, false);
    if (view && view->isTypeOf("CControl"))
    {
        const int parameter = parameterForTag(static_cast<const CControl*>(view)->getTag());
        if (isControl(parameter))
        {
            const int controller = presetEffect->getControllerForParameter(parameter);
            displayIndex = controller >= 0 && controller < presetStrip::kNotAssigned
                               ? controller
                               : presetStrip::kNotAssigned;
        }
    }
    controllerDisplay->setValue(presetStrip::controllerDisplayValue(displayIndex));
    return true;
}

void CPresetSystemEditor::programNameChanged(const char* name)
{
    if (name == nullptr)
        return;
    if (nameField)
        nameField->setText(name);
    if (programMenu)
        if (CMenuItem* entry = programMenu->getCurrent())
        {
            entry->setTitle(name);
            programMenu->setDirty(true);
        }
}

void CPresetSystemEditor::showPrograms()
{
    if (presetEffect == nullptr || (nameField == nullptr && programMenu == nullptr))
        return;
    const ProgramTable programs = presetEffect->readPrograms();
    const int current = std::clamp(presetEffect->getCurrentProgramIndex(), 0, kNumPrograms - 1);
    char name[kProgramNameBytes + 1];
    if (programMenu)
    {
        for (int k = 0; k < kNumPrograms; ++k)
            if (CMenuItem* entry = programMenu->getEntry(k))
            {
                copyProgramName(programs[k], name);
                entry->setTitle(name);
            }
        programMenu->setCurrent(current);
    }
    if (nameField)
    {
        copyProgramName(programs[current], name);
        nameField->setText(name);
    }
}

void CPresetSystemEditor::beginEdit(std::int32_t index)
{
    if (index < presetStrip::kFirstTag || index > presetStrip::kLastTag)
        AEffGUIEditor::beginEdit(index);
}

void CPresetSystemEditor::endEdit(std::int32_t index)
{
    if (index < presetStrip::kFirstTag || index > presetStrip::kLastTag)
        AEffGUIEditor::endEdit(index);
}

void CPresetSystemEditor::valueChanged(CControl* control)
{
    if (control == nullptr || presetEffect == nullptr)
        return;
    const float v = control->getValue();
    switch (control->getTag())
    {
    case presetStrip::kProgramName:
        if (control->isTypeOf("CTextEdit"))
        {
            char cut[kProgramNameBytes + 1];
            cutProgramName(static_cast<CTextEdit*>(control)->getText(), cut);
            renameProgram(cut);
        }
        break;
    case presetStrip::kPreviousNext: stepProgram(v); break;
    case presetStrip::kLoadBank: loadBankFile(v == 0.5f); break;
    case presetStrip::kSaveBank: saveBankFile(); break;
    case presetStrip::kLoadPreset: loadPresetFile(v == 0.5f); break;
    case presetStrip::kSavePreset: savePresetFile(); break;
    case presetStrip::kLearn:
        // The two modes never run together.
        presetEffect->endUnlearn();
        if (v == 0.0f)
            presetEffect->endLearn();
        else
            presetEffect->startLearn();
        showModes();
        break;
    case presetStrip::kLoadMidi: loadMidiFile(v == 0.5f); break;
    case presetStrip::kSaveMidi: saveMidiFile(); break;
    case presetStrip::kDefaultMidi:
        if (v != 0.0f)
            storeDefaultMidi();
        break;
    case presetStrip::kClear:
        presetEffect->endLearn();
        if (v == 0.0f)
            presetEffect->endUnlearn();
        else
            presetEffect->startUnlearn();
        showModes();
        break;
    case presetStrip::kProgramMenu:
        if (control->isTypeOf("COptionMenu"))
            chooseProgram(static_cast<COptionMenu*>(control));
        break;
    case presetStrip::kDefaultBank:
        // Ctrl with the double-click gives 0.5: delete.
        if (v < 0.75f)
            deleteDefaultBank();
        else
            storeDefaultBank();
        break;
    case presetStrip::kDefaultPreset:
        if (v < 0.75f)
            deleteDefaultPreset();
        else
            storeDefaultPreset();
        break;
    case presetStrip::kStoreMemoA: storeMemoA(); break;
    case presetStrip::kStoreMemoB: storeMemoB(); break;
    case presetStrip::kRecallMemoA: recallMemoA(); break;
    case presetStrip::kRecallMemoB: recallMemoB(); break;
    default: break; // the controller display, and the derived editor's own tags
    }
}

// One program back or forward, held at the ends: stepping past program 16 applies
// program 16 again.
void CPresetSystemEditor::stepProgram(float direction)
{
    int index = presetEffect->getCurrentProgramIndex();
    if (direction > 0.0f)
        index = std::min(index + 1, kNumPrograms - 1);
    else if (direction < 0.0f)
        index = std::max(index - 1, 0);
    else
        return;
    index = std::clamp(index, 0, kNumPrograms - 1);
    if (programMenu)
        programMenu->setCurrent(index);
    char name[kProgramNameBytes + 1];
    copyProgramName(presetEffect->readProgram(index), name);
    if (nameField)
        nameField->setText(name);
    presetEffect->selectProgram(index);
    presetEffect->renameProgram(index, name);
}

void CPresetSystemEditor::chooseProgram(COptionMenu* menu)
{
    const int index = static_cast<int>(menu->getValue() + 0.5f);
    const CMenuItem* entry = menu->getEntry(index);
    if (entry == nullptr || index >= kNumPrograms)
        return;
    menu->setCurrent(index);
    // The title is copied first: renaming may change the entry.
    char title[kProgramNameBytes + 1];
    cutProgramName(entry->getTitle(), title);
    presetEffect->selectProgram(index);
    presetEffect->renameProgram(index, title);
    if (nameField)
        nameField->setText(title);
}
