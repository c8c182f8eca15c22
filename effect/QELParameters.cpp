// How a parameter change is accepted, stored and decoded.
#include "effect/QEL.h"

#include "effect/ParameterTable.h"

#include <cmath>

namespace
{
constexpr float kMinTempoBpm = 40.0f;
constexpr float kMaxHostTempoBpm = 400.0f;

// The controls that set the delay time or its mode, which the repeat hold freezes.
constexpr bool setsTheDelay(int index) noexcept
{
    return index == kDlyTime || index == kDlyClk || index == kNum || index == kDen;
}
} // namespace

void QEL::setParameter(VstInt32 index, float value)
{
    value = nanToZero(value);
    // While the hold is on, the delay controls keep what plays, in the program as in the
    // effect, so that a project saved later reopens as it sounded. The hold is read once:
    // a write that races a switch of it is refused or taken whole, never half. Publishing
    // the control makes an editor that moved it show the value in effect again.
    if (setsTheDelay(index) && targets.repeatHold != 0)
    {
        publishControlChange(index);
        return;
    }
    // The program store first (it also serves MIDI learn).
    CPresetSystemEffect::setParameter(index, value);
    applyParameter(index, value);
}

void QEL::applyParameter(VstInt32 index, float value)
{
    if (!isControl(index))
        return;
    applyControl(index, value);
    updateEngine(index, clampUnit(value));
    publishControlChange(index);
}

float QEL::getParameter(VstInt32 index)
{
    if (isControl(index))
        return parameterValues[index];
    return CPresetSystemEffect::getParameter(index);
}

// Stores the value and sets the decoded values. Whether the hold refuses a value is
// settled before it gets here: by setParameter, and never for a program applied whole.
// Decoding always works on the value limited to 0..1, so no host value can drive a
// formula outside the range it was made for.
void QEL::applyControl(int index, float value)
{
    const float v = clampUnit(value);
    switch (kControlInfo[index].kind)
    {
    case ParameterKind::DelayTime:
        // The clock owns the delay time in clock mode.
        if (targets.clockMode != 0)
            return;
        parameterValues[index] = v;
        targets.delayChanged = true;
        targets.delayMs = delayMsFromValue(v);
        return;
    case ParameterKind::ClockMode:
        parameterValues[index] = value;
        targets.clockMode = controlStep(index, v);
        targets.delayChanged = true;
        if (targets.clockMode != 0)
            computeClockDelay(false);
        break;
    case ParameterKind::Numerator:
        parameterValues[index] = value;
        targets.numIndex = controlStep(index, v);
        if (targets.clockMode != 0)
            computeClockDelay(false);
        break;
    case ParameterKind::Denominator:
        parameterValues[index] = value;
        targets.denIndex = controlStep(index, v);
        if (targets.clockMode != 0)
            computeClockDelay(false);
        break;
    default:
        // Gains, mix, feedback, clock controls, switches: stored as they come; the engine
        // update decodes them.
        parameterValues[index] = value;
        break;
    }
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

// The delay as numerator/denominator of a whole note (four beats) at the tempo. A held
// delay stays as it is; the ratio is still worked out.
void QEL::computeClockDelay(bool held)
{
    const double numerator = kNumerators[targets.numIndex];
    const double denominator = kDenominators[targets.denIndex];
    const auto ms = static_cast<float>(numerator * 240000.0 / (denominator * targets.tempoBpm));
    float ratio = ms / kMaxDelayMs;
    if (ratio > 1.0f)
        ratio = 1.0f;
    targets.clockDelayRatio = ratio;
    if (held)
        return;
    // DlyTime reports the clock's value; the program keeps its own.
    parameterValues[kDlyTime] = ratio;
    targets.delayChanged = true;
    targets.delayMs = delayMsFromValue(ratio);
}

void QEL::setTempo(float normalized)
{
    float bpm = nanToZero(normalized) * kTempoEntryScale;
    if (bpm < kMinTempoBpm)
        bpm = kMinTempoBpm;
    if (bpm == targets.tempoBpm)
        return;
    targets.tempoBpm = bpm;
    computeClockDelay(targets.repeatHold != 0);
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
        computeClockDelay(targets.repeatHold != 0);
}

// Program changes start from free delay time, so a program's DlyTime applies. A program
// is applied whole, whatever held before: it is what a host restores with a project, and
// its own RptInf decides whether the delay it sets is held. The audio thread takes the
// values from one block on, all together.
void QEL::applyProgram(const ProgramRecord& program)
{
    targetChanges.begin();
    parameterValues[kDlyClk] = 0.0f;
    targets.clockMode = 0;
    targets.delayChanged = false;
    for (int p = 0; p < kNumControls; ++p)
        applyParameter(p, nanToZero(program.values[p]));
    targetChanges.end();
}
