// How a parameter change is accepted, stored and decoded.
#include "effect/QEL.h"

#include "effect/ParameterTable.h"
#include "presets/CPresetSystemEditor.h"

#include <cmath>

namespace
{
constexpr int kSwitchSteps = 2;
constexpr float kMinTempoBpm = 40.0f;
constexpr float kMaxHostTempoBpm = 400.0f;
constexpr float kTempoEntryScale = 400.0f;
} // namespace

void QEL::setParameter(VstInt32 index, float value)
{
    value = nanToZero(value);
    // The program store first (it also serves MIDI learn), unless a program is being applied.
    if (!isLoadingProgram())
        CPresetSystemEffect::setParameter(index, value);
    const float accepted = isControl(index) ? applyControl(index, value) : value;
    if (CPresetSystemEditor* editor = presetEditor())
        editor->setParameter(index, accepted);
}

float QEL::getParameter(VstInt32 index)
{
    if (isControl(index))
        return parameterValues[index];
    return CPresetSystemEffect::getParameter(index);
}

// Stores the value and sets the decoded values; answers the value the editor is shown.
// Decoding always works on the value limited to 0..1, so no host value can drive a
// formula outside the range it was made for.
float QEL::applyControl(int index, float value)
{
    const float v = clampUnit(value);
    switch (kControlInfo[index].kind)
    {
    case ParameterKind::Gain:
        parameterValues[index] = value;
        (index == kInput ? inputGain : outputGain) = v * v * 4.0f;
        break;
    case ParameterKind::Mix:
    case ParameterKind::Feedback:
    case ParameterKind::ClockFactor:
    case ParameterKind::Percent:
    case ParameterKind::Waveform: parameterValues[index] = value; break;
    case ParameterKind::DelayTime:
        // The clock owns the delay time in clock mode; the hold freezes it.
        if (clockMode != 0)
            return value;
        if (repeatHold != 0)
            return v;
        parameterValues[index] = v;
        delayChanged = true;
        delayMs = kMaxDelayMs * v;
        return v;
    case ParameterKind::Switch:
        parameterValues[index] = value;
        setSwitch(index, stepIndex(v, kSwitchSteps));
        break;
    case ParameterKind::Rate:
        parameterValues[index] = value;
        rateHz = static_cast<float>(std::pow(100.0, static_cast<double>(v))) * 0.1f;
        break;
    case ParameterKind::ClockMode:
        parameterValues[index] = value;
        if (repeatHold != 0)
            break; // the stored value changes, the mode does not
        clockMode = stepIndex(v, kSwitchSteps);
        delayChanged = true;
        if (clockMode != 0)
            computeClockDelay();
        break;
    case ParameterKind::Numerator:
        parameterValues[index] = value;
        numIndex = stepIndex(v, static_cast<int>(kNumerators.size()));
        if (clockMode != 0)
            computeClockDelay();
        break;
    case ParameterKind::Denominator:
        parameterValues[index] = value;
        denIndex = stepIndex(v, static_cast<int>(kDenominators.size()));
        if (clockMode != 0)
            computeClockDelay();
        break;
    }
    return value;
}

void QEL::setSwitch(int index, int on)
{
    switch (index)
    {
    case kDlyx2: delayDoubling = on; break;
    case kDlyInv: delayInvert = on; break;
    case kHiCut: hiCutOn = on; break;
    case kFbInv: feedbackInvert = on; break;
    case kRptInf: repeatHold = on; break;
    case kPower: powerOn = on; break;
    default: break;
    }
}

int QEL::switchState(int index) const noexcept
{
    switch (index)
    {
    case kDlyx2: return delayDoubling;
    case kDlyInv: return delayInvert;
    case kHiCut: return hiCutOn;
    case kFbInv: return feedbackInvert;
    case kRptInf: return repeatHold;
    case kPower: return powerOn;
    default: return 0;
    }
}

// The delay as numerator/denominator of a whole note (four beats) at tempoBpm.
void QEL::computeClockDelay()
{
    const double numerator = kNumerators[numIndex];
    const double denominator = kDenominators[denIndex];
    const auto ms = static_cast<float>(numerator * 240000.0 / (denominator * tempoBpm));
    float ratio = ms / kMaxDelayMs;
    if (ratio > 1.0f)
        ratio = 1.0f;
    clockDelayRatio = ratio;
    if (repeatHold != 0)
        return;
    // DlyTime reports the clock's value; the program keeps its own.
    parameterValues[kDlyTime] = ratio;
    delayChanged = true;
    delayMs = kMaxDelayMs * ratio;
}

void QEL::setTempo(float normalized)
{
    float bpm = nanToZero(normalized) * kTempoEntryScale;
    if (bpm < kMinTempoBpm)
        bpm = kMinTempoBpm;
    if (bpm == tempoBpm)
        return;
    tempoBpm = bpm;
    computeClockDelay();
}

void QEL::setHostTempo(double hostBpm)
{
    if (!std::isfinite(hostBpm))
        return;
    float bpm = static_cast<float>(hostBpm);
    bpm = bpm < kMinTempoBpm ? kMinTempoBpm : (bpm > kMaxHostTempoBpm ? kMaxHostTempoBpm : bpm);
    const float previous = tempoBpm;
    tempoBpm = bpm;
    if (bpm != previous && clockMode != 0)
        computeClockDelay();
}

bool QEL::takeDelayChanged() noexcept
{
    const bool was = delayChanged;
    if (was)
        delayChanged = false;
    return was;
}

void QEL::selectProgram(int index)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    parameterValues[kDlyClk] = 0.0f;
    clockMode = 0;
    delayChanged = false;
    CPresetSystemEffect::selectProgram(index);
}
