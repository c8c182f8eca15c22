// The engine side of a parameter change: targets, switches, clock, oscillator and the
// input filter; and the audio thread taking the targets whole at the start of a block.
// v is the value limited to 0..1.
#include "effect/QEL.h"

#include "effect/ParameterTable.h"
#include "engine/EngineMath.h"

#include <cmath>

namespace
{
constexpr float kFortyFourOne = 44.099998474121094f; // the single-precision 44.1

float clockFactor(float manVco, float depth)
{
    // 1 + (ManVCO - 0.5) * (1 - Depth), the difference and the product rounded to float.
    const float offset = manVco - 0.5f;
    const float span = offset * (1.0f - depth);
    return 1.0f + span;
}
} // namespace

void QEL::updateEngine(int index, float v)
{
    const int on = stepIndex(v, kSwitchSteps);
    switch (index)
    {
    case kInput: targets.inputGain = gainFromValue(v); break;
    case kOutput: targets.outputGain = gainFromValue(v); break;
    case kMix: targets.mix = v; break;
    case kFbck: targets.feedback = v; break;
    case kDlyx2:
        targets.delayDoubling = on;
        targets.clockMultiplier = on != 0 ? 2.0f : 1.0f;
        designInputFilter(inputFilterCutoff(28000.0f));
        display.clockRatio = targets.manualClock * targets.clockMultiplier;
        break;
    case kDlyInv: targets.wetSign = on != 0 ? -1.0f : 1.0f; break;
    case kHiCut: targets.hiCutOn = on; break;
    case kFbInv: targets.feedbackSign = on != 0 ? -1.0f : 1.0f; break;
    case kManVco:
        targets.manualClock = clockFactor(v, clampUnit(parameterValues[kDepth]));
        display.clockRatio = targets.manualClock * targets.clockMultiplier;
        break;
    case kDepth:
        targets.depth = v;
        targets.manualClock = clockFactor(clampUnit(parameterValues[kManVco]), v);
        display.clockRatio = targets.clockMultiplier * targets.manualClock;
        break;
    case kWaveform:
    {
        // Sine below 0.5, square from 0.5; the envelope takes the weight the shape leaves.
        const float shape = std::fabs(v - 0.5f);
        targets.vcoShapeAmount = shape;
        targets.envelopeAmount = 1.0f - 2.0f * shape;
        targets.vcoSquare = on;
        break;
    }
    case kRate:
    {
        targets.rateHz = rateHzFromValue(v);
        targets.vcoPeriodSamples = engine.engineSampleRateF / targets.rateHz;
        targets.vcoPhaseIncrement = engine::kTwoPi / targets.vcoPeriodSamples;
        break;
    }
    case kRptInf:
        // The audio thread, which owns the fade level, sees at its next block whether the
        // hold switched.
        targets.repeatHold = on;
        break;
    case kPower: targets.powerOn = on; break;
    default: break;
    }
}

// 14 kHz (6 kHz with Dlyx2), scaled down at low rates so it stays below half the rate.
// Parameter changes and resume use different thresholds, as the unit always has.
float QEL::inputFilterCutoff(float rateThreshold) const
{
    const float rate = engine.engineSampleRateF;
    const double kiloHertz = targets.delayDoubling != 0 ? 6.0 : 14.0;
    if (rate > rateThreshold)
        return static_cast<float>(kiloHertz * 1000.0);
    return static_cast<float>(static_cast<double>(rate) * kiloHertz / kFortyFourOne);
}

// Second-order Butterworth low-pass by the bilinear transform.
void QEL::designInputFilter(float cutoffHz)
{
    const auto w = static_cast<float>(static_cast<double>(cutoffHz) * engine::kPi /
                                      static_cast<double>(engine.engineSampleRateF));
    const auto c = static_cast<float>(1.0 / std::tan(static_cast<double>(w)));
    const auto r = static_cast<float>(std::sqrt(2.0));
    const double cd = c;
    const double rd = r;
    const auto a0 = static_cast<float>(cd * cd + rd * cd + 1.0);
    const double a0d = a0;
    const auto b0 = static_cast<float>(1.0 / a0d);
    targets.a1 = static_cast<float>(-2.0 * (cd * cd - 1.0) / a0d);
    targets.a2 = static_cast<float>((cd * cd - rd * cd + 1.0) / a0d);
    targets.b0 = b0;
    targets.b1 = 2.0f * b0;
    targets.b2 = b0;
}

BlockTargets QEL::copyTargets() const noexcept
{
    BlockTargets t;
    t.tempoBpm = targets.tempoBpm;
    t.delayMs = targets.delayMs;
    t.repeatHold = targets.repeatHold;
    t.clockMode = targets.clockMode;
    t.b0 = targets.b0;
    t.b1 = targets.b1;
    t.b2 = targets.b2;
    t.a1 = targets.a1;
    t.a2 = targets.a2;
    t.inputGain = targets.inputGain;
    t.outputGain = targets.outputGain;
    t.mix = targets.mix;
    t.feedback = targets.feedback;
    t.depth = targets.depth;
    t.wetSign = targets.wetSign;
    t.feedbackSign = targets.feedbackSign;
    t.hiCutOn = targets.hiCutOn;
    t.powerOn = targets.powerOn;
    t.clockMultiplier = targets.clockMultiplier;
    t.manualClock = targets.manualClock;
    t.vcoSquare = targets.vcoSquare;
    t.vcoShapeAmount = targets.vcoShapeAmount;
    t.envelopeAmount = targets.envelopeAmount;
    t.vcoPhaseIncrement = targets.vcoPhaseIncrement;
    return t;
}

// A program change being applied on another thread is taken at a later block, whole: until
// then the block plays on with the targets it took last, and the requests wait with it.
// Kept out of line: inlined, it changed how the compiler laid out the loop's registers and
// cost the modulated programs a few per cent.
[[gnu::noinline]] BlockRequests QEL::takeBlockTargets() noexcept
{
    const auto token = targetChanges.settled();
    if (!token)
        return {};
    const BlockRequests requests{targets.delayChanged.exchange(false)};
    const BlockTargets taken = copyTargets();
    if (!targetChanges.unchangedSince(*token))
    {
        if (requests.delayChanged)
            targets.delayChanged = true;
        return {};
    }
    engine.block = taken;
    return requests;
}
