// The engine's construction, rate changes, suspend, resume and clear.
#include "effect/QEL.h"

#include "engine/EngineMath.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
constexpr int kDefaultRate = 44100;
constexpr int kMinRate = 5000;
constexpr int kMaxRate = 200000;
constexpr double kMemorySeconds = 3.2000000476837158; // the single-precision 3.2

// Cells for 3.2 s at the nominal clock, one more than the longest delay distance,
// so the read index never meets the write index.
int memoryLengthFor(float rate)
{
    return static_cast<int>(std::floor(static_cast<double>(rate) * kMemorySeconds)) + 1;
}

DelayMemory allocateMemory(int cells)
{
    return DelayMemory(
        static_cast<float*>(std::calloc(static_cast<std::size_t>(cells), sizeof(float))));
}

float expCoefficient(double radiansPerSecond, float rate)
{
    return static_cast<float>(std::exp(-radiansPerSecond / static_cast<double>(rate)));
}
} // namespace

void QEL::initEngine()
{
    engine.engineSampleRate = kDefaultRate;
    engine.engineSampleRateF = static_cast<float>(kDefaultRate);
    targets.tempoBpm = 120.0f;
    computeClockDelay(false); // numerator 1, denominator 1: 2000 ms at 120 BPM
    engine.beatPosition = 0.0f;
    engine.vcoPhase = 0.0f;
    engine.vcoOutput = 0.0f;
    engine.fadeLevel = 1.0f;

    engine.memoryLength = memoryLengthFor(engine.engineSampleRateF);
    engine.memoryL = allocateMemory(engine.memoryLength);
    engine.memoryR = allocateMemory(engine.memoryLength);
    if (!engine.memoryL || !engine.memoryR)
        throw std::bad_alloc(); // the entry point answers null
    engine.writeIndex = 0;
    placeReadPosition();
    targets.delayChanged = false;
    setRateConstants();
}

// Everything derived from the rate alone.
void QEL::setRateConstants()
{
    const float rate = engine.engineSampleRateF;
    engine.smoothCoef = expCoefficient(188.4955644607544, rate); // 30 Hz
    engine.smoothComplement = 1.0f - engine.smoothCoef;
    engine.hiCutCoef = expCoefficient(25132.741928100586, rate); // 4000 Hz
    engine.hiCutComplement = 1.0f - engine.hiCutCoef;
    engine.envelopeCoef = expCoefficient(62.831854820251465, rate); // 10 Hz
    engine.envelopeComplement = 1.0f - engine.envelopeCoef;
    engine.fadeTicks = engine.engineSampleRate * 50 / 1000;
    engine.fadeGrowth =
        static_cast<float>(std::pow(0.001, -1.0 / static_cast<double>(engine.fadeTicks)));
    engine.flashWindow = engine.engineSampleRate / 50;
    engine.levelWindowLength = rate > 100000.0f  ? 16
                               : rate > 50000.0f ? 8
                               : rate > 25000.0f ? 4
                                                 : 2;
}

// Rebuilds the memory and every rate-dependent value for a new rate. Keeps the old
// memory and rate, and answers false, when the new memory cannot be had.
bool QEL::buildForRate(int rate)
{
    const float rateF = static_cast<float>(rate);
    const int length = memoryLengthFor(rateF);
    auto left = allocateMemory(length);
    auto right = allocateMemory(length);
    if (!left || !right)
        return false;

    engine.engineSampleRate = rate;
    engine.engineSampleRateF = rateF;
    engine.memoryLength = length;
    engine.memoryL = std::move(left);
    engine.memoryR = std::move(right);
    engine.memoryIsClear = true;
    engine.writeIndex = 0;
    placeReadPosition();
    targets.vcoPeriodSamples = rateF / targets.rateHz;
    targets.vcoPhaseIncrement = engine::kTwoPi / targets.vcoPeriodSamples;
    targets.delayChanged = false;
    setRateConstants();
    engine.levelRingIndex = 0;
    designInputFilter(inputFilterCutoff(30000.0f));
    return true;
}

void QEL::placeReadPosition()
{
    engine.delaySamples = static_cast<float>(static_cast<double>(engine.engineSampleRateF) *
                                             targets.delayMs / 1000.0);
    const int distance =
        std::clamp(static_cast<int>(engine.delaySamples), 0, engine.memoryLength - 1);
    int read = engine.writeIndex - distance;
    if (read < 0)
        read += engine.memoryLength;
    engine.readIndex = read;
}

void QEL::clearEngine()
{
    if (!engine.memoryIsClear)
    {
        const auto cells = static_cast<std::size_t>(engine.memoryLength);
        std::fill_n(engine.memoryL.get(), cells, 0.0f);
        std::fill_n(engine.memoryR.get(), cells, 0.0f);
        engine.memoryIsClear = true;
    }
    engine.levelRingL.fill(0.0f);
    engine.levelRingR.fill(0.0f);
    engine.levelSumL = 0.0f;
    engine.levelSumR = 0.0f;
    engine.writeHistoryL.fill(0.0f);
    engine.writeHistoryR.fill(0.0f);
    engine.readHistoryL.fill(0.0f);
    engine.readHistoryR.fill(0.0f);
    engine.inputFilterL1 = {};
    engine.inputFilterL2 = {};
    engine.inputFilterR1 = {};
    engine.inputFilterR2 = {};
    engine.hiCutStateL = 0.0f;
    engine.hiCutStateR = 0.0f;
    engine.feedbackL = 0.0f;
    engine.feedbackR = 0.0f;
    engine.envelopeModulation = 0.0f;
    engine.vcoOutput = 0.0f;
    engine.vcoPhase = 0.0f;
    engine.tickPhase = 0.0f;
    engine.flashActive = 0;
    display.peakLevel = 0.0f;
    display.flashLatch = false;
    display.flashAckRequest = false;
    display.vcoPhaseDisplay = 0.0f;
    engine.block = copyTargets(); // no block runs now
    // A cleared memory has nothing to cross-fade from: the first hit is written at full
    // level, and a hold switched since the last block takes effect without a fade.
    if (engine.block.repeatHold != engine.holdFollows)
    {
        engine.holdFollows = engine.block.repeatHold;
        engine.holdEngaged = engine.holdFollows != 0 && engine.block.clockMode == 0 ? 1 : 0;
    }
    engine.fadeLevel = 1.0f;
}

void QEL::suspend()
{
    engine.inputGainSmoothed = targets.inputGain;
    engine.outputGainSmoothed = targets.outputGain;
    engine.mixSmoothed = targets.mix;
    engine.feedbackSmoothed = targets.feedback;
    engine.depthSmoothed = targets.depth;
    placeReadPosition();
    targets.delayChanged = false;
    clearEngine();
}

void QEL::resume()
{
    CPresetSystemEffect::resume(); // asks the host for MIDI
    engine.beatPosition = 0.0f;
    const double hostRate = getSampleRate();
    // Truncated toward zero; anything a host cannot mean (0 included) runs at 44100 Hz.
    int rate = kDefaultRate;
    if (hostRate >= kMinRate && hostRate < kMaxRate + 1.0)
        rate = static_cast<int>(hostRate);
    if (rate != engine.engineSampleRate)
        buildForRate(rate); // on failure the engine keeps its memory and rate
    clearEngine();
}

void QEL::getDisplayState(float& phase, float& level, int& effectiveDelayMs, int& nominalDelayMs,
                          unsigned char& flash)
{
    phase = display.vcoPhaseDisplay;
    level = 0.5f * display.peakLevel;
    display.peakResetRequest = true;
    const double delayMs = targets.delayMs;
    effectiveDelayMs = static_cast<int>(static_cast<double>(display.clockRatio) * delayMs + 0.5);
    nominalDelayMs = static_cast<int>(delayMs + 0.5);
    flash = display.flashLatch ? 1 : 0;
    display.flashAckRequest = true;
}
