// Everything the delay engine keeps: decoded parameter targets, the delay memory and
// the per-sample state of the signal path, memory clock and indicators.
//
// Two kinds of field live here. Targets are written by parameter changes on any thread
// and read by the audio thread at the start of its next block, so they are relaxed
// atomics. Loop state belongs to the audio thread (and to suspend/resume, which hosts
// never run during a block), so it is plain.
#pragma once

#include "effect/RelaxedAtomic.h"

#include <array>
#include <cstdlib>
#include <memory>

// Delay memory comes zeroed from calloc: the system hands over zero pages without
// touching them, so an instance that is only scanned never pays for its 1.1 MB.
struct DelayMemoryFree
{
    void operator()(float* cells) const noexcept { std::free(cells); }
};
using DelayMemory = std::unique_ptr<float[], DelayMemoryFree>;

// One second-order section of the anti-aliasing low-pass (inputs x, outputs y).
struct BiquadSection
{
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
};

// What parameter changes set, from whichever thread makes them.
struct EngineTargets
{
    RelaxedAtomic<float> inputGain = 1.0f;
    RelaxedAtomic<float> outputGain = 1.0f;
    RelaxedAtomic<float> mix = 0.5f;
    RelaxedAtomic<float> feedback = 0.0f;
    RelaxedAtomic<float> depth = 0.0f;
    RelaxedAtomic<float> delayMs = 2000.0f;

    RelaxedAtomic<float> clockMultiplier = 1.0f; // 2 while Dlyx2 is on
    RelaxedAtomic<float> manualClock = 1.0f;     // 1 + (ManVCO - 0.5) * (1 - Depth)
    RelaxedAtomic<float> wetSign = 1.0f;
    RelaxedAtomic<float> feedbackSign = 1.0f;
    RelaxedAtomic<int> delayDoubling = 0;
    RelaxedAtomic<int> hiCutOn = 0;
    RelaxedAtomic<int> powerOn = 1;

    RelaxedAtomic<float> rateHz = 0.1f;
    RelaxedAtomic<float> vcoPeriodSamples = 441000.0f;
    RelaxedAtomic<float> vcoPhaseIncrement = 1.4247586e-05f;
    RelaxedAtomic<int> vcoSquare = 1;
    RelaxedAtomic<float> vcoShapeAmount = 0.0f;
    RelaxedAtomic<float> envelopeAmount = 1.0f;

    RelaxedAtomic<int> repeatHold = 0;
    RelaxedAtomic<int> clockMode = 0;
    RelaxedAtomic<int> numIndex = 0;
    RelaxedAtomic<int> denIndex = 0;
    RelaxedAtomic<float> tempoBpm = 120.0f;
    RelaxedAtomic<float> clockDelayRatio = 0.0f;

    // The anti-aliasing low-pass: one set of coefficients shared by all four sections.
    RelaxedAtomic<float> b0 = 1.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;

    // Hand-over to the audio thread, taken at its next block.
    RelaxedAtomic<bool> delayChanged = false; // place the read position anew
};

// The targets one block plays with, copied from EngineTargets at its start by the audio
// thread. A program change under way on another thread is not copied until it is whole.
// Only the audio thread touches them; they are atomics all the same so that the loop's
// prologue loads each exactly once, as it loaded the targets themselves: plain fields let
// the compiler lay out the loop's registers differently, and cost the most modulated
// program 8 % of its speed.
struct BlockTargets
{
    RelaxedAtomic<float> tempoBpm = 120.0f;
    RelaxedAtomic<float> delayMs = 2000.0f;
    RelaxedAtomic<int> repeatHold = 0;
    RelaxedAtomic<int> clockMode = 0;
    RelaxedAtomic<float> b0 = 1.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    RelaxedAtomic<float> inputGain = 1.0f;
    RelaxedAtomic<float> outputGain = 1.0f;
    RelaxedAtomic<float> mix = 0.5f;
    RelaxedAtomic<float> feedback = 0.0f;
    RelaxedAtomic<float> depth = 0.0f;
    RelaxedAtomic<float> wetSign = 1.0f;
    RelaxedAtomic<float> feedbackSign = 1.0f;
    RelaxedAtomic<int> hiCutOn = 0;
    RelaxedAtomic<int> powerOn = 1;
    RelaxedAtomic<float> clockMultiplier = 1.0f;
    RelaxedAtomic<float> manualClock = 1.0f;
    RelaxedAtomic<int> vcoSquare = 1;
    RelaxedAtomic<float> vcoShapeAmount = 0.0f;
    RelaxedAtomic<float> envelopeAmount = 1.0f;
    RelaxedAtomic<float> vcoPhaseIncrement = 1.4247586e-05f;
};

// The hand-overs a block takes together with its targets.
struct BlockRequests
{
    bool delayChanged = false;
};

// Read by the editor while the audio thread writes; requests go the other way.
struct DisplayHandOver
{
    RelaxedAtomic<float> vcoPhaseDisplay = 0.0f;
    RelaxedAtomic<float> peakLevel = 0.0f;
    RelaxedAtomic<float> clockRatio = 1.0f; // memory-clock period / host sample period
    RelaxedAtomic<bool> flashLatch = false;
    RelaxedAtomic<bool> peakResetRequest = false;
    RelaxedAtomic<bool> flashAckRequest = false;
};

// The audio thread's own state.
struct EngineState
{
    static constexpr int kLevelRingSize = 16;

    int engineSampleRate = 44100;
    float engineSampleRateF = 44100.0f;
    float beatPosition = 0.0f;
    float delaySamples = 88200.0f;

    // Delay memory: one cell per memory-clock tick, 3.2 s at the nominal clock.
    int memoryLength = 0;
    DelayMemory memoryL;
    DelayMemory memoryR;
    bool memoryIsClear = true; // nothing written since the memories were last zeroed
    int writeIndex = 0;
    int readIndex = 0;

    std::array<float, 4> writeHistoryL{}, writeHistoryR{}; // oldest first
    std::array<float, 4> readHistoryL{}, readHistoryR{};

    float tickStep = 1.0f;  // memory-clock ticks per host sample
    float tickPhase = 0.0f; // fraction of a tick since the last one

    float smoothCoef = 0.0f;
    float smoothComplement = 1.0f;
    float inputGainSmoothed = 1.0f;
    float outputGainSmoothed = 1.0f;
    float mixSmoothed = 0.5f;
    float feedbackSmoothed = 0.0f;
    float depthSmoothed = 0.0f;
    float denormalOffset = 1.0e-10f;
    float dryGain = 0.0f;
    float wetGain = 0.0f;

    BiquadSection inputFilterL1, inputFilterL2, inputFilterR1, inputFilterR2;

    int levelWindowLength = 4;
    std::array<float, kLevelRingSize> levelRingL{}, levelRingR{};
    int levelRingIndex = 0;
    float levelSumL = 0.0f;
    float levelSumR = 0.0f;

    float envelopeCoef = 0.0f;
    float envelopeComplement = 1.0f;
    float envelopeState = 0.0f;
    float envelopeModulation = 0.0f;

    float hiCutCoef = 0.0f;
    float hiCutComplement = 1.0f;
    float hiCutStateL = 0.0f;
    float hiCutStateR = 0.0f;
    float feedbackL = 0.0f;
    float feedbackR = 0.0f;

    float vcoPhase = 0.0f; // radians in [-pi, pi)
    float vcoOutput = 0.0f;

    int holdEngaged = 0;
    int holdFollows = 0; // the RptInf that holdEngaged and the cross-fade last followed
    float fadeLevel = 1.0f;
    int fadeTicks = 2205;
    float fadeGrowth = 1.0f;

    int flashWindow = 882;
    int flashActive = 0;

    // Last, so that the loop state keeps its place and alignment.
    BlockTargets block;
};
