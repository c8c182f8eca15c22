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
    float accepted = value;
    if (isControl(index))
    {
        accepted = applyControl(index, value);
        updateEngine(index, clampUnit(value));
    }
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
    case ParameterKind::DelayTime:
        // The clock owns the delay time in clock mode; the hold freezes it.
        if (targets.clockMode != 0)
            return value;
        if (targets.repeatHold != 0)
            return v;
        parameterValues[index] = v;
        targets.delayChanged = true;
        targets.delayMs = kMaxDelayMs * v;
        return v;
    case ParameterKind::ClockMode:
        parameterValues[index] = value;
        if (targets.repeatHold != 0)
            break; // the stored value changes, the mode does not
        targets.clockMode = stepIndex(v, kSwitchSteps);
        targets.delayChanged = true;
        if (targets.clockMode != 0)
            computeClockDelay();
        break;
    case ParameterKind::Numerator:
        parameterValues[index] = value;
        targets.numIndex = stepIndex(v, static_cast<int>(kNumerators.size()));
        if (targets.clockMode != 0)
            computeClockDelay();
        break;
    case ParameterKind::Denominator:
        parameterValues[index] = value;
        targets.denIndex = stepIndex(v, static_cast<int>(kDenominators.size()));
        if (targets.clockMode != 0)
            computeClockDelay();
        break;
    default:
        // Gains, mix, feedback, clock controls, switches: stored as they come; the engine
        // update decodes them.
        parameterValues[index] = value;
        break;
    }
    return value;
}

int QEL::switchState(int index) const noexcept
{
    switch (index)
    {
    case kDlyx2: return targets.delayDoubling;
    case kDlyInv: return targets.wetSign < 0.0f ? 1 : 0;
    case kHiCut: return targets.hiCutOn;
    case kFbInv: return targets.feedbackSign < 0.0f ? 1 : 0;
    case kRptInf: return targets.repeatHold;
    case kPower: return targets.powerOn;
    default: return 0;
    }
}

// The delay as numerator/denominator of a whole note (four beats) at the tempo.
void QEL::computeClockDelay()
{
    const double numerator = kNumerators[targets.numIndex];
    const double denominator = kDenominators[targets.denIndex];
    const auto ms = static_cast<float>(numerator * 240000.0 / (denominator * targets.tempoBpm));
    float ratio = ms / kMaxDelayMs;
    if (ratio > 1.0f)
        ratio = 1.0f;
    targets.clockDelayRatio = ratio;
    if (targets.repeatHold != 0)
        return;
    // DlyTime reports the clock's value; the program keeps its own.
    parameterValues[kDlyTime] = ratio;
    targets.delayChanged = true;
    targets.delayMs = kMaxDelayMs * ratio;
}

void QEL::setTempo(float normalized)
{
    float bpm = nanToZero(normalized) * kTempoEntryScale;
    if (bpm < kMinTempoBpm)
        bpm = kMinTempoBpm;
    if (bpm == targets.tempoBpm)
        return;
    targets.tempoBpm = bpm;
    computeClockDelay();
}

void QEL::setHostTempo(double hostBpm)
{
    if (!std::isfinite(hostBpm))
        return;
    float bpm = static_cast<float>(hostBpm);
    bpm = bpm < kMinTempoBpm ? kMinTempoBpm : (bpm > kMaxHostTempoBpm ? kMaxHostTempoBpm : bpm);
    const float previous = targets.tempoBpm;
    targets.tempoBpm = bpm;
    if (bpm != previous && targets.clockMode != 0)
        computeClockDelay();
}

void QEL::selectProgram(int index)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    parameterValues[kDlyClk] = 0.0f;
    targets.clockMode = 0;
    targets.delayChanged = false;
    CPresetSystemEffect::selectProgram(index);
}
