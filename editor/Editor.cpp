#include "editor/Editor.h"

#include "editor/CAbout.h"
#include "editor/CInvisibleSlider.h"
#include "editor/MyFrame.h"
#include "editor/QELKickButton.h"
#include "editor/QELOnOffButton.h"
#include "editor/QELSwitch.h"
#include "effect/ParameterIndex.h"
#include "effect/ParameterTable.h"
#include "effect/QEL.h"
#include "gui/controls/CAnimKnob.h"
#include "gui/controls/CSwitches.h"

#include <algorithm>
#include <cmath>

using namespace editorLayout;

namespace
{
constexpr float kKnobWheelStep = 0.03125f; // 1/32 of the range per notch
constexpr float kKnobZoomFactor = 5.0f;    // Shift makes knob drags this much finer
constexpr std::int32_t kStepButtonImageHeight = 26;
constexpr std::int32_t kClockSwitchImageHeight = 10;
constexpr std::int32_t kClockSwitchPositions = 2;

CBitmap* bitmapFor(std::int32_t id, CBitmap* const* loaded)
{
    for (std::size_t i = 0; i < kLoadOrder.size(); ++i)
        if (kLoadOrder[i] == id)
            return loaded[i];
    return nullptr;
}
} // namespace

Editor::Editor(QEL* effect) noexcept : CPresetSystemEditor(effect), qel(effect)
{
    meterFloor = std::pow(10.0f, -1.2f); // about -24 dB: the meter's floor
    tempoEditActive = false;
    meterFallMs = 500.0f;
    tempoEditTime = tickCount();
    lastIdleTime = tickCount();
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
    delayEditTime = blinkTime = tempoEditTime;
    blinkOn = false;
    delayEditActive = false;
    setKnobMode(kLinearMode);
}

void Editor::setTickSource(TickSource source) noexcept
{
    tickCount = source;
    tempoEditTime = delayEditTime = blinkTime = lastIdleTime = tickCount();
}

bool Editor::open(void* ptr)
{
    if (frame)
        close(); // a host that opens twice gets one fresh window
    AEffGUIEditor::open(ptr);
    // The controls are made from the values in effect now: earlier changes are shown.
    qel->takeChangedControls();
    sliderProgramGeneration = qel->getProgramGeneration();
    sliderTempo = qel->getTempo();

    std::array<CBitmap*, kLoadOrder.size()> bitmaps{};
    for (std::size_t i = 0; i < kLoadOrder.size(); ++i)
        bitmaps[i] = new CBitmap(CResourceDescription(kLoadOrder[i]));

    frame = new MyFrame(CRect(0, 0, kWidth, kHeight), ptr, this);
    frame->setBackground(bitmapFor(kBackgroundBitmap, bitmaps.data()));
    createControls(bitmaps.data());
    // The frame and the controls keep what they use.
    for (CBitmap* bitmap : bitmaps)
        bitmap->forget();

    CPresetSystemEditor::open(ptr);
    setKnobMode(kLinearMode);
    return true;
}

void Editor::createControls(CBitmap* const* bitmaps)
{
    for (std::size_t i = 0; i < kRows.size(); ++i)
    {
        const Row& row = kRows[i];
        CBitmap* bitmap = bitmapFor(row.bitmap, bitmaps);
        const CCoord imageHeight = row.rect.getHeight();
        CControl* control = nullptr;
        switch (row.kind)
        {
        case Kind::display:
        {
            auto* display =
                new CMovieBitmap(row.rect, this, row.tag, row.frames, imageHeight, bitmap);
            display->setValue(0.0f);
            if (row.tag == kPowerLampTag)
                display->setValue(isOn(kPower) ? 0.0f : 0.5f);
            if (row.tag >= kDigit1Tag && row.tag < kDigit1Tag + kNumDigits)
                digits[row.tag - kDigit1Tag] = display;
            else if (row.tag == kStatusLampsTag)
                statusLamps = display;
            else if (row.tag == kPowerLampTag)
                powerLamp = display;
            else if (row.tag == kOscillatorLampTag)
                oscillatorLamp = display;
            else if (row.tag == kMeterTag)
                meter = display;
            control = display;
            break;
        }
        case Kind::knob:
        {
            auto* knob = new CAnimKnob(row.rect, this, row.tag, row.frames, imageHeight, bitmap);
            knob->setValue(qel->getParameter(row.tag));
            knob->setDefaultValue(row.defaultValue);
            knob->setWheelInc(kKnobWheelStep);
            knob->setZoomFactor(kKnobZoomFactor);
            control = knob;
            break;
        }
        case Kind::onOffButton:
            control = new QELOnOffButton(row.rect, this, row.tag, bitmap);
            control->setValue(qel->getParameter(row.tag));
            break;
        case Kind::clockSwitch:
            control = new QELSwitch(row.rect, this, row.tag, row.frames, kClockSwitchImageHeight,
                                    kClockSwitchPositions, bitmap);
            control->setValue(qel->getParameter(row.tag));
            break;
        case Kind::stepButton:
        {
            auto* button =
                new QELKickButton(row.rect, this, row.tag, kStepButtonImageHeight, bitmap);
            button->setValue(0.0f);
            (row.tag == kDelayDownTag ? delayDown : delayUp) = button;
            control = button;
            break;
        }
        case Kind::slider:
        {
            auto* slider = new CInvisibleSlider(row.rect, this, row.tag);
            slider->setValue(sliderBase());
            (row.tag == kSmallSliderTag ? smallSlider : wideSlider) = slider;
            control = slider;
            break;
        }
        case Kind::about:
            control = new CAbout(row.rect, this, row.tag, bitmap, CRect(0, 0, kWidth, kHeight),
                                 CPoint(0, 0), kAboutTextOrigin);
            break;
        }
        controls[i] = control;
        if (row.tag >= 0 && row.tag < static_cast<std::int32_t>(parameterControls.size()))
            parameterControls[row.tag] = control;
        frame->addView(control);
    }
}

void Editor::close()
{
    controls.fill(nullptr);
    parameterControls.fill(nullptr);
    digits.fill(nullptr);
    statusLamps = powerLamp = oscillatorLamp = meter = nullptr;
    smallSlider = wideSlider = nullptr;
    delayDown = delayUp = nullptr;
    CPresetSystemEditor::close();
}

CControl* Editor::getControlForTag(std::int32_t tag) const noexcept
{
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (kRows[i].tag == tag)
            return controls[i];
    return nullptr;
}

int Editor::parameterForTag(std::int32_t tag) const
{
    if (tag == kSmallSliderTag || tag == kWideSliderTag)
        return kDlyTime;
    return CPresetSystemEditor::parameterForTag(tag);
}

void Editor::beginEdit(std::int32_t index)
{
    if (index >= 0 && index < kNumControls)
        CPresetSystemEditor::beginEdit(index);
}

void Editor::endEdit(std::int32_t index)
{
    if (index >= 0 && index < kNumControls)
        CPresetSystemEditor::endEdit(index);
}

bool Editor::isOn(int index)
{
    return stepIndex(qel->getParameter(index), kSwitchSteps) == 1;
}
