// How the editor's controls change the effect, and how parameter changes reach the
// controls.
#include "editor/CInvisibleSlider.h"
#include "editor/Editor.h"
#include "editor/QELKickButton.h"
#include "effect/ParameterIndex.h"
#include "effect/ParameterTable.h"
#include "effect/QEL.h"

#include <algorithm>
#include <cmath>

using namespace editorLayout;

namespace
{
// One step of a delay button is one millisecond.
constexpr float kDelayStepsPerRange = kMaxDelayMs;
// The small slider stops just under half a millisecond inside either end of the range,
// so its whole-millisecond reading never leaves 0..3200; the wide slider has no limit.
constexpr float kSmallSliderMin = 0.00015620119f;
constexpr float kSmallSliderMax = 0.9998438f;
} // namespace

void Editor::setParameter(VstInt32 index, float value)
{
    if (!frame || index < 0 || index >= static_cast<VstInt32>(parameterControls.size()))
        return;
    if (index == kDlyTime)
    {
        setSliders(sliderBase());
        return;
    }
    if (CControl* control = parameterControls[index])
        control->setValue(value);
}

// Whatever changed them (the host, a MIDI controller, a program, this editor), the controls
// show the values in effect. The delay sliders also start anew when the hold or the mode
// switches, as either changes what they stand for, and whenever the delay in use may have
// moved under them: a program or chunk applied as a whole, or a new tempo in clock mode.
void Editor::showParameterChanges()
{
    std::uint32_t changed = qel->takeChangedControls();
    constexpr std::uint32_t kSliderBits = 1u << kDlyTime | 1u << kRptInf | 1u << kDlyClk;
    const std::uint32_t generation = qel->getProgramGeneration();
    const float tempo = qel->getTempo();
    if (generation != sliderProgramGeneration || (tempo != sliderTempo && qel->isClockMode()))
        changed |= 1u << kDlyTime;
    sliderProgramGeneration = generation;
    sliderTempo = tempo;
    if (changed & kSliderBits)
        changed |= 1u << kDlyTime;
    for (int index = 0; changed != 0; ++index, changed >>= 1)
        if (changed & 1u)
            setParameter(index, qel->getParameter(index));
}

float Editor::sliderBase()
{
    if (qel->isClockMode())
        return std::sqrt(qel->getTempo() / kTempoEntryScale);
    return std::sqrt(std::max(qel->getParameter(kDlyTime), 0.0f));
}

bool Editor::delayControlsLocked()
{
    return isOn(kRptInf);
}

void Editor::setSliders(float value)
{
    if (smallSlider)
        smallSlider->setValue(value);
    if (wideSlider)
        wideSlider->setValue(value);
}

void Editor::valueChanged(CControl* control)
{
    CPresetSystemEditor::valueChanged(control);
    const std::int32_t tag = control->getTag();
    const float v = control->getValue();
    if (tag >= kFirstPresetTag)
        return;
    switch (tag)
    {
    case kDlyClk: changeClockMode(control, v); return;
    case kDelayDownTag:
    case kDelayUpTag:
        changeDelayStep(tag, static_cast<QELKickButton*>(control)->getStepMultiplier());
        return;
    case kSmallSliderTag:
    case kWideSliderTag: changeDelaySlider(control, tag, v); return;
    default:
        // The control's own gesture has already reached the host.
        if (tag >= 0 && tag < kNumControls)
            qel->setParameterAutomated(tag, v);
        return;
    }
}

// The switch makes no gesture of its own: the host sees one only for a real change, never
// for a click on the half already selected nor on the switch while the hold locks it.
void Editor::changeClockMode(CControl* clockSwitch, float v)
{
    const float current = qel->getParameter(kDlyClk);
    if (delayControlsLocked() || controlStep(kDlyClk, v) == controlStep(kDlyClk, current))
    {
        clockSwitch->setValue(current);
        return;
    }
    tempoEditActive = false;
    delayEditActive = false;
    beginEdit(kDlyClk);
    qel->setParameterAutomated(kDlyClk, v);
    endEdit(kDlyClk);
    setSliders(sliderBase());
}

void Editor::changeDelayStep(std::int32_t tag, float multiplier)
{
    tempoEditActive = false;
    if (delayControlsLocked())
        return;
    if (!isOn(kDlyClk))
    {
        delayEditActive = true;
        delayEditTime = tickCount();
        const float x = qel->getParameter(kDlyTime);
        const float step = multiplier / kDelayStepsPerRange;
        const float y = tag == kDelayDownTag ? std::max(x - step, 0.0f) : std::min(x + step, 1.0f);
        beginEdit(kDlyTime);
        qel->setParameterAutomated(kDlyTime, y);
        endEdit(kDlyTime);
        setSliders(std::sqrt(qel->getParameter(kDlyTime)));
        return;
    }
    // Clock mode: a plain click walks up and wraps to the start; Shift or Ctrl walks down
    // and wraps to the end. Each click lands on the middle of the next step, so every
    // click changes the fraction, whatever value the host or a program left.
    const int index = tag == kDelayDownTag ? kNum : kDen;
    // In clock mode the step buttons walk "Num" and "Den" through their steps.
    const int steps = kControlInfo[index].steps;
    const int from = stepIndex(qel->getParameter(index), steps);
    const int to = multiplier == 1.0f ? (from + 1) % steps : (from + steps - 1) % steps;
    beginEdit(index);
    qel->setParameterAutomated(index, stepValue(to, steps));
    endEdit(index);
}

void Editor::changeDelaySlider(CControl* slider, std::int32_t tag, float v)
{
    // Locked by the hold, or in clock mode under the host's tempo, which the next block
    // would put back: the sliders stay where they are and nothing reaches the host.
    if (delayControlsLocked() || (isOn(kDlyClk) && qel->isTempoFromHost()))
    {
        slider->setValue(sliderBase());
        return;
    }
    // The slider shows the square root of the delay value: finer control of short delays.
    float w = v * v;
    if (!isOn(kDlyClk))
    {
        delayEditActive = true;
        delayEditTime = tickCount();
        if (tag == kSmallSliderTag)
            w = std::clamp(w, kSmallSliderMin, kSmallSliderMax);
        beginEdit(kDlyTime);
        qel->setParameterAutomated(kDlyTime, w);
        endEdit(kDlyTime);
    }
    else
    {
        tempoEditActive = true;
        tempoEditTime = tickCount();
        qel->setTempo(w);
    }
    CInvisibleSlider* other = tag == kSmallSliderTag ? wideSlider : smallSlider;
    if (other)
        other->setValue(v);
}
