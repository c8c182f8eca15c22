// The audio thread's block: host queries once, then the whole signal path per sample.
//
// State is loaded into locals at the start of a block and written back at its end; the
// per-sample code works on locals only. Every value is rounded to float where the unit
// stores it; compound expressions are evaluated in double and rounded once.
#include "effect/QEL.h"

#include "engine/EngineMath.h"

#include <climits>
#include <cmath>

using engine::catmullRom;
using engine::flush;
using engine::pushHistory;

namespace
{
constexpr float kMinFeedbackGain = 9.9999997e-06f;
constexpr float kFadeStart = 0.001f;
constexpr float kEnvelopeExponent = 0.30000001192092896f; // the single-precision 0.3

// Host values can be anything: a double that does not fit an int counts as 0.
int toInt(double v)
{
    if (!(v > static_cast<double>(INT_MIN) && v < static_cast<double>(INT_MAX)))
        return 0;
    return static_cast<int>(v);
}

float finiteOrZero(float v)
{
    return std::isfinite(v) ? v : 0.0f;
}

struct Biquad
{
    double b0, b1, b2, a1, a2;

    // Two cascaded sections; the second one's input history takes the first one's
    // flushed output, its input the unflushed one.
    float run(BiquadSection& first, BiquadSection& second, float x) const
    {
        const auto y = static_cast<float>(b0 * x + b1 * first.x1 + b2 * first.x2 - a1 * first.y1 -
                                          a2 * first.y2);
        first.x2 = first.x1;
        first.x1 = x;
        first.y2 = first.y1;
        first.y1 = flush(y);
        const auto z = static_cast<float>(b0 * y + b1 * second.x1 + b2 * second.x2 -
                                          a1 * second.y1 - a2 * second.y2);
        second.x2 = second.x1;
        second.x1 = first.y1;
        second.y2 = second.y1;
        second.y1 = flush(z);
        return z;
    }
};
} // namespace

void QEL::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
        outputs[0] == nullptr || !engine.memoryL || !engine.memoryR)
        return;

    // ---- block prologue -----------------------------------------------------------------
    // A mono input feeds both channels; without a right output the left one takes both.
    const float* inL = inputs[0];
    const float* inR = isInputConnected(1) && inputs[1] != nullptr ? inputs[1] : inputs[0];
    float* outL = outputs[0];
    float* outR = isOutputConnected(1) ? outputs[1] : nullptr;

    const int window = engine.levelWindowLength;
    float levelSumL = 0.0f;
    float levelSumR = 0.0f;
    for (int i = 0; i < window; ++i)
    {
        levelSumL += engine.levelRingL[i];
        levelSumR += engine.levelRingR[i];
    }

    if (const VstTimeInfo* time = getTimeInfo(kVstTempoValid))
        setHostTempo(time->tempo);
    const float rate = engine.engineSampleRateF;
    const double tempo = targets.tempoBpm;
    const VstTimeInfo* position = getTimeInfo(kVstPpqPosValid);
    if (position != nullptr && std::isfinite(position->ppqPos))
        engine.beatPosition = static_cast<float>(position->ppqPos);
    else
        engine.beatPosition =
            static_cast<float>(engine.beatPosition + tempo * sampleFrames / (rate * 60.0));

    // Samples since the last delay-period boundary on the song's beat grid.
    const double delayMsAtStart = targets.delayMs;
    const auto delayBeats = static_cast<float>(tempo * delayMsAtStart / 60000.0);
    const int periodLength = toInt(rate * delayMsAtStart / 1000.0);
    const int flashWindow = engine.flashWindow;
    const int flashLimit = periodLength - flashWindow;
    float beatRemainder = 0.0f;
    if (delayBeats != 0.0f)
    {
        const double beat = engine.beatPosition;
        beatRemainder = static_cast<float>(beat - delayBeats * std::trunc(beat / delayBeats));
    }
    int periodCounter = toInt(beatRemainder * static_cast<double>(rate) * 60.0 / tempo);
    // A block that starts on a boundary handles it at its first sample, like any other.
    const bool boundaryAtStart = periodCounter == 0;

    // Hand-overs from the other threads, taken once per block.
    bool delayPending = targets.delayChanged.exchange(false);
    int holdEngaged = engine.holdEngaged;
    float fadeLevel = engine.fadeLevel;
    const int repeatHold = targets.repeatHold;
    if (targets.holdSwitchRequest.exchange(false))
    {
        fadeLevel = kFadeStart;
        holdEngaged = repeatHold != 0 && targets.clockMode == 0 ? 1 : 0;
    }
    float peakLevel = display.peakResetRequest.exchange(false) ? 0.0f : display.peakLevel.load();
    bool flashLatch = display.flashAckRequest.exchange(false) ? false : display.flashLatch.load();

    // Targets and coefficients for the block.
    const Biquad filter{targets.b0, targets.b1, targets.b2, targets.a1, targets.a2};
    const float inputGain = targets.inputGain;
    const float outputGain = targets.outputGain;
    const float mix = targets.mix;
    const float feedback = targets.feedback;
    const float depth = targets.depth;
    const float wetSign = targets.wetSign;
    const float feedbackSign = targets.feedbackSign;
    const bool hiCutOn = targets.hiCutOn != 0;
    const bool powerOn = targets.powerOn != 0;
    const float clockMultiplier = targets.clockMultiplier;
    const double manualClock = targets.manualClock;
    const bool square = targets.vcoSquare != 0;
    const float shape = targets.vcoShapeAmount;
    const float envelopeAmount = targets.envelopeAmount;
    const float phaseIncrement = targets.vcoPhaseIncrement;
    // One-pole 30 Hz step toward a target, the sum rounded once.
    const double k = engine.smoothCoef;
    const double kc = engine.smoothComplement;
    const auto smooth = [k, kc](float target, float state)
    { return static_cast<float>(kc * target + k * state); };
    const double envelopeCoef = engine.envelopeCoef;
    const double envelopeComplement = engine.envelopeComplement;
    const double hiCutCoef = engine.hiCutCoef;
    const double hiCutComplement = engine.hiCutComplement;
    const float fadeGrowth = engine.fadeGrowth;

    // While Depth is 0 and its smoother has settled, the oscillator and the envelope
    // move the clock by less than half a unit in the last place: the ratio is exactly
    // the manual clock, and sine and power need not be computed.
    float depthSmoothed = engine.depthSmoothed;
    const bool clockIsManual = depth == 0.0f && std::fabs(depthSmoothed) <= 1.0e-9f;

    // Loop state.
    float denormalOffset = engine.denormalOffset;
    float inputGainSmoothed = engine.inputGainSmoothed;
    float outputGainSmoothed = engine.outputGainSmoothed;
    float mixSmoothed = engine.mixSmoothed;
    float feedbackSmoothed = engine.feedbackSmoothed;
    float dryGain = engine.dryGain;
    float wetGain = engine.wetGain;
    BiquadSection filterL1 = engine.inputFilterL1, filterL2 = engine.inputFilterL2;
    BiquadSection filterR1 = engine.inputFilterR1, filterR2 = engine.inputFilterR2;
    float* const ringL = engine.levelRingL.data();
    float* const ringR = engine.levelRingR.data();
    int ringIndex = engine.levelRingIndex;
    float envelopeState = engine.envelopeState;
    float envelopeModulation = engine.envelopeModulation;
    float* const writeHistoryL = engine.writeHistoryL.data();
    float* const writeHistoryR = engine.writeHistoryR.data();
    float* const readHistoryL = engine.readHistoryL.data();
    float* const readHistoryR = engine.readHistoryR.data();
    float hiCutStateL = engine.hiCutStateL, hiCutStateR = engine.hiCutStateR;
    float feedbackL = engine.feedbackL, feedbackR = engine.feedbackR;
    float vcoPhase = engine.vcoPhase;
    float vcoOutput = engine.vcoOutput;
    float clockRatio = display.clockRatio;
    float tickStep = engine.tickStep;
    float tickPhase = engine.tickPhase;
    float* const memoryL = engine.memoryL.get();
    float* const memoryR = engine.memoryR.get();
    const int memoryLength = engine.memoryLength;
    int writeIndex = engine.writeIndex;
    int readIndex = engine.readIndex;
    float delaySamples = engine.delaySamples;
    int flashActive = engine.flashActive;

    for (VstInt32 i = 0; i < sampleFrames; ++i)
    {
        // Both inputs of the frame are read before any output: hosts may pass one buffer.
        const float rawL = inL[i];
        const float rawR = inR[i];

        // 1-2: input gain, with the alternating offset that keeps denormals away.
        denormalOffset = -denormalOffset;
        const float xL = finiteOrZero(rawL) * inputGainSmoothed + denormalOffset;
        const float xR = finiteOrZero(rawR) * inputGainSmoothed + denormalOffset;

        // 3-4: anti-aliasing low-pass, then the feedback.
        float sL = filter.run(filterL1, filterL2, xL) + feedbackL;
        float sR = filter.run(filterR1, filterR2, xR) + feedbackR;

        // 5-6: running level over a short window drives the soft limiter.
        const float aL = std::fabs(sL);
        const float aR = std::fabs(sR);
        levelSumL = (levelSumL + aL) - ringL[ringIndex];
        levelSumR = (levelSumR + aR) - ringR[ringIndex];
        ringL[ringIndex] = aL;
        ringR[ringIndex] = aR;
        if (++ringIndex == window)
            ringIndex = 0;
        const float mL = levelSumL / static_cast<float>(window);
        const float mR = levelSumR / static_cast<float>(window);
        const auto gainL = static_cast<float>(mL > 2.0f ? 1.0 / mL : 1.0 - 0.25 * mL);
        const auto gainR = static_cast<float>(mR > 2.0f ? 1.0 / mR : 1.0 - 0.25 * mR);
        sL = sL * gainL;
        sR = sR * gainR;

        // 7: peak for the meter, before the limiter.
        const float peak = aL + aR;
        if (peakLevel < peak)
            peakLevel = peak;

        // 8: 10 Hz envelope of the limited signal; its curve bends the clock.
        const auto meanLevel = static_cast<float>(
            0.5 * (static_cast<double>(gainL) * aL + static_cast<double>(gainR) * aR));
        const auto env =
            static_cast<float>(envelopeState * envelopeCoef + envelopeComplement * meanLevel);
        envelopeState = flush(env);
        if (!clockIsManual || i == sampleFrames - 1)
        {
            const auto curve = static_cast<float>(
                std::pow(static_cast<double>(env), static_cast<double>(kEnvelopeExponent)));
            envelopeModulation = (curve - 0.5f) * envelopeAmount;
        }

        // 9: what the memory will be written with.
        pushHistory(writeHistoryL, sL);
        pushHistory(writeHistoryR, sR);

        // 10: 30 Hz smoothers.
        inputGainSmoothed = smooth(inputGain, inputGainSmoothed) + denormalOffset;
        outputGainSmoothed = smooth(outputGain, outputGainSmoothed) + denormalOffset;
        mixSmoothed = smooth(mix, mixSmoothed) + denormalOffset;
        feedbackSmoothed = smooth(feedback, feedbackSmoothed);
        if (std::fabs(feedbackSmoothed) < kMinFeedbackGain)
            feedbackSmoothed = 0.0f;
        depthSmoothed = smooth(depth, depthSmoothed) + denormalOffset;

        // 11: linear dry/wet law scaled by the output gain; DlyInv flips the wet part.
        const float wet = flush(mixSmoothed * outputGainSmoothed);
        dryGain = outputGainSmoothed - wet;
        wetGain = wet * wetSign;

        // 12: the memory clock. The oscillator turns whether or not it is heard.
        float oscillator = 0.0f;
        if (square)
            oscillator = vcoPhase > 0.0f ? -1.0f : 1.0f;
        else if (!clockIsManual && shape != 0.0f)
            oscillator = static_cast<float>(-std::sin(static_cast<double>(vcoPhase)));
        vcoPhase = vcoPhase + phaseIncrement;
        if (vcoPhase >= engine::kPi)
            vcoPhase = vcoPhase - engine::kTwoPi;
        vcoOutput = oscillator * shape;
        if (clockIsManual)
            clockRatio = static_cast<float>(manualClock) * clockMultiplier;
        else
            clockRatio = static_cast<float>((static_cast<double>(vcoOutput) + envelopeModulation) *
                                                depthSmoothed +
                                            manualClock) *
                         clockMultiplier;
        const float oldStep = tickStep;
        tickStep = 1.0f / clockRatio;
        // The part of a tick still to go keeps its length in host samples.
        const auto rest =
            static_cast<float>(1.0 - (1.0 - static_cast<double>(tickPhase)) * tickStep / oldStep);
        tickPhase = tickStep + rest;

        // 13: each tick writes one interpolated cell and reads one.
        if (tickPhase >= 1.0f)
        {
            float sinceSample = 1.0f - rest; // host samples from the last sample to the tick
            do
            {
                tickPhase = tickPhase - 1.0f;
                const float t = sinceSample / tickStep;
                const float wL = catmullRom(writeHistoryL, t);
                const float wR = catmullRom(writeHistoryR, t);
                const double f = fadeLevel;
                const double readL = memoryL[readIndex];
                const double readR = memoryR[readIndex];
                if (holdEngaged == 0)
                {
                    memoryL[writeIndex] = static_cast<float>((1.0 - f) * readL + f * wL);
                    memoryR[writeIndex] = static_cast<float>((1.0 - f) * readR + f * wR);
                }
                else
                {
                    memoryL[writeIndex] = static_cast<float>((1.0 - f) * wL + f * readL);
                    memoryR[writeIndex] = static_cast<float>((1.0 - f) * wR + f * readR);
                }
                fadeLevel = fadeLevel * fadeGrowth;
                if (fadeLevel > 1.0f)
                    fadeLevel = 1.0f;
                pushHistory(readHistoryL, memoryL[readIndex]);
                pushHistory(readHistoryR, memoryR[readIndex]);
                if (++readIndex == memoryLength)
                    readIndex = 0;
                if (++writeIndex == memoryLength)
                    writeIndex = 0;
                sinceSample += 1.0f;
            } while (tickPhase >= 1.0f);
        }

        // 14-15: the read signal between ticks; below three samples of delay the
        // write signal goes straight through.
        float rL = catmullRom(readHistoryL, tickPhase);
        float rR = catmullRom(readHistoryR, tickPhase);
        if (delaySamples < 3.0f && holdEngaged == 0)
        {
            rL = sL;
            rR = sR;
        }

        // 16: a new delay time moves the read position at once.
        if (delayPending)
        {
            delayPending = false;
            delaySamples = static_cast<float>(static_cast<double>(rate) * targets.delayMs / 1000.0);
            int read = writeIndex - static_cast<int>(delaySamples);
            if (read < 0)
                read += memoryLength;
            readIndex = read;
        }

        // 17: return path: optional 4 kHz high cut, feedback gain and sign.
        if (hiCutOn)
        {
            hiCutStateL = static_cast<float>(hiCutStateL * hiCutCoef + rL * hiCutComplement);
            hiCutStateR = static_cast<float>(hiCutStateR * hiCutCoef + rR * hiCutComplement);
        }
        else
        {
            hiCutStateL = rL;
            hiCutStateR = rR;
        }
        hiCutStateL = flush(hiCutStateL);
        hiCutStateR = flush(hiCutStateR);
        feedbackL = hiCutStateL;
        feedbackR = hiCutStateR;
        if (holdEngaged == 0)
        {
            feedbackL = feedbackL * feedbackSmoothed * feedbackSign;
            feedbackR = feedbackR * feedbackSmoothed * feedbackSign;
        }

        // 18-19: output, or the untouched input while the power is off.
        if (powerOn)
        {
            const auto left = static_cast<float>(static_cast<double>(dryGain) * xL +
                                                 static_cast<double>(wetGain) * rL);
            const double right =
                static_cast<double>(dryGain) * xR + static_cast<double>(wetGain) * rR;
            if (outR != nullptr)
            {
                outL[i] = left;
                outR[i] = static_cast<float>(right);
            }
            else
            {
                outL[i] = static_cast<float>(0.5 * (left + right));
            }
        }
        else if (outR != nullptr)
        {
            outL[i] = rawL;
            outR[i] = rawR;
        }
        else
        {
            outL[i] = static_cast<float>(0.5 * (static_cast<double>(rawL) + rawR));
        }

        // 20: beat indicator, and the synchronised hold engaging on a period boundary.
        ++periodCounter;
        flashActive = periodCounter < flashWindow || periodCounter > flashLimit ? 1 : 0;
        if (periodCounter > periodLength || (i == 0 && boundaryAtStart))
        {
            periodCounter = 0;
            if (holdEngaged == 0 && repeatHold != 0)
            {
                holdEngaged = 1;
                fadeLevel = kFadeStart;
            }
        }
        if (flashActive != 0)
            flashLatch = true;
    }

    // ---- block epilogue -----------------------------------------------------------------
    ++periodCounter;
    if (periodCounter < flashWindow || periodCounter > flashLimit)
        flashLatch = true;

    engine.levelSumL = levelSumL;
    engine.levelSumR = levelSumR;
    engine.levelRingIndex = ringIndex;
    engine.denormalOffset = denormalOffset;
    engine.inputGainSmoothed = inputGainSmoothed;
    engine.outputGainSmoothed = outputGainSmoothed;
    engine.mixSmoothed = mixSmoothed;
    engine.feedbackSmoothed = feedbackSmoothed;
    engine.depthSmoothed = depthSmoothed;
    engine.dryGain = dryGain;
    engine.wetGain = wetGain;
    engine.inputFilterL1 = filterL1;
    engine.inputFilterL2 = filterL2;
    engine.inputFilterR1 = filterR1;
    engine.inputFilterR2 = filterR2;
    engine.envelopeState = envelopeState;
    engine.envelopeModulation = envelopeModulation;
    engine.hiCutStateL = hiCutStateL;
    engine.hiCutStateR = hiCutStateR;
    engine.feedbackL = feedbackL;
    engine.feedbackR = feedbackR;
    engine.vcoPhase = vcoPhase;
    engine.vcoOutput = vcoOutput;
    engine.tickStep = tickStep;
    engine.tickPhase = tickPhase;
    engine.writeIndex = writeIndex;
    engine.readIndex = readIndex;
    engine.delaySamples = delaySamples;
    engine.holdEngaged = holdEngaged;
    engine.fadeLevel = fadeLevel;
    engine.flashActive = flashActive;
    display.clockRatio = clockRatio;
    display.peakLevel = peakLevel;
    display.flashLatch = flashLatch;
    display.vcoPhaseDisplay = vcoPhase;
}
