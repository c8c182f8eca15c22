// The audio thread's block: host queries once, then the whole signal path per sample.
//
// State is loaded into locals at the start of a block and written back at its end; the
// per-sample code works on locals only, with left and right side by side in SSE lanes.
// Every value is rounded to float where the unit stores it; compound expressions are
// evaluated in double and rounded once.
#include "effect/QEL.h"

#include "engine/BeatRun.h"
#include "engine/EngineMath.h"
#include "engine/Envelope.h"
#include "engine/FastMath.h"
#include "engine/HoldFade.h"
#include "engine/InputFilter.h"
#include "engine/Limiter.h"
#include "engine/MemoryClock.h"
#include "engine/OutputStage.h"
#include "engine/ReadHistory.h"
#include "engine/ReturnPath.h"
#include "engine/Smoothers.h"
#include "engine/StereoPair.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

using namespace engine;

namespace
{

// Host values can be anything: a double that does not fit an int counts as 0.
int toInt(double v)
{
    if (!(v > static_cast<double>(INT_MIN) && v < static_cast<double>(INT_MAX)))
        return 0;
    return static_cast<int>(v);
}

} // namespace

void QEL::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
        outputs[0] == nullptr || !engine.memoryL || !engine.memoryR)
        return;

    engine.memoryIsClear = false;

    // ---- block prologue -----------------------------------------------------------------
    // A mono input feeds both channels; without a right output the left one takes both.
    const float* inL = inputs[0];
    const float* inR = isInputConnected(1) && inputs[1] != nullptr ? inputs[1] : inputs[0];
    OutputStage output{outputs[0], isOutputConnected(1) ? outputs[1] : nullptr};

    Limiter limiter;
    limiter.design(engine.levelWindowLength);
    limiter.load(engine);

    followHostTempo(getTimeInfo(kVstTempoValid));
    // Hand-overs from the other threads, taken once per block with the targets.
    const BlockRequests requests = takeBlockTargets();
    const BlockTargets& t = engine.block;
    const float rate = engine.engineSampleRateF;
    const double tempo = t.tempoBpm;
    const VstTimeInfo* position = getTimeInfo(kVstPpqPosValid);
    if (position != nullptr && std::isfinite(position->ppqPos))
        engine.beatPosition = static_cast<float>(position->ppqPos);
    else
        engine.beatPosition =
            static_cast<float>(engine.beatPosition + tempo * sampleFrames / (rate * 60.0));

    // Samples since the last delay-period boundary on the song's beat grid.
    const double delayMsAtStart = t.delayMs;
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

    bool delayPending = requests.delayChanged;
    const int repeatHold = t.repeatHold;
    HoldFade hold;
    hold.load(engine, repeatHold, t.clockMode);
    float peakLevel = display.peakResetRequest.exchange(false) ? 0.0f : display.peakLevel.load();
    bool flashLatch = display.flashAckRequest.exchange(false) ? false : display.flashLatch.load();

    // The beat lamp for the whole block, and the sample after which the synchronised
    // hold engages on a period boundary.
    const BeatRun beat = runBeat(periodCounter, boundaryAtStart, sampleFrames, periodLength,
                                 flashWindow, engine.flashActive);
    if (beat.flashed)
        flashLatch = true;
    const VstInt32 holdSample = hold.engaged == 0 && repeatHold != 0 ? beat.firstBoundary : -1;

    // Targets and coefficients for the block.
    const InputFilter filter{_mm_set1_pd(t.b0), _mm_set1_pd(t.b1), _mm_set1_pd(t.b2),
                             _mm_set1_pd(t.a1), _mm_set1_pd(t.a2)};
    const float feedback = t.feedback;
    const float depth = t.depth;
    const float clockMultiplier = t.clockMultiplier;
    const float manualClock = t.manualClock;
    const bool square = t.vcoSquare != 0;
    const float shape = t.vcoShapeAmount;
    const float envelopeAmount = t.envelopeAmount;
    const float phaseIncrement = t.vcoPhaseIncrement;
    Smoothers smoothers;
    smoothers.design(engine, t);
    smoothers.load(engine);
    Envelope envelope;
    envelope.design(engine, t);
    output.powerOn = t.powerOn != 0;
    ReturnPath returnPath;
    returnPath.design(engine, t);
    returnPath.load(engine);

    // While Depth is 0 and its smoother has settled, the oscillator and the envelope
    // move the clock by less than half a unit in the last place: the ratio is exactly
    // the manual clock, and sine and power need not be computed.
    const bool clockIsManual = depth == 0.0f && std::fabs(smoothers.depth) <= 1.0e-9f;
    const float manualRatio = manualClock * clockMultiplier;
    const float manualStep = 1.0f / manualRatio;
    // With a multiplier of 1 or 2 (the only ones Dlyx2 sets), 1 / (c * m) is (1 / m) / c
    // rounded once: the step need not wait for the multiplication. (c * 2 cannot overflow:
    // with Depth at most 1 and the curve of a float below 4e11, c stays far below 2^127.)
    const bool multiplierFolds = clockMultiplier == 1.0f || clockMultiplier == 2.0f;
    const float stepNumerator = 1.0f / clockMultiplier;
    const double manualInverseStep = 1.0 / static_cast<double>(manualStep);

    // Loop state.
    float denormalOffset = engine.denormalOffset;
    const bool smoothersSettled = smoothers.settled(denormalOffset);
    if (smoothersSettled)
        smoothers.setDryWet();
    BiquadPairState section1 = loadSections(engine.inputFilterL1, engine.inputFilterR1);
    BiquadPairState section2 = loadSections(engine.inputFilterL2, engine.inputFilterR2);
    envelope.load(engine);
    HistoryPair writeHistory = loadHistory(engine.writeHistoryL, engine.writeHistoryR);
    HistoryPair readHistory = loadHistory(engine.readHistoryL, engine.readHistoryR);
    CubicPair readCubic = CubicPair::through(readHistory);
    FloatPair feedbackSignal = makePair(engine.feedbackL, engine.feedbackR);
    float vcoPhase = engine.vcoPhase;
    float vcoOutput = engine.vcoOutput;
    float clockRatio = display.clockRatio;
    float tickStep = engine.tickStep;
    float tickPhase = engine.tickPhase;
    double inverseStep = 1.0 / static_cast<double>(tickStep);
    float* const memoryL = engine.memoryL.get();
    float* const memoryR = engine.memoryR.get();
    const int memoryLength = engine.memoryLength;
    int writeIndex = engine.writeIndex;
    int readIndex = engine.readIndex;
    float delaySamples = engine.delaySamples;

    // One memory-clock tick: store the interpolated write value (cross-faded with the cell
    // being read while a fade runs), then read the next cell.
    const auto writeTick = [&](FloatPair written) TARVA_ALWAYS_INLINE
    {
        if (hold.isLive())
            storePair(memoryL + writeIndex, memoryR + writeIndex, written);
        else
            storePair(memoryL + writeIndex, memoryR + writeIndex,
                      hold.faded(written, loadPair(memoryL + readIndex, memoryR + readIndex)));
        // Read after this tick's store: at a zero distance the cell just written.
        readHistory.push(widen(loadPair(memoryL + readIndex, memoryR + readIndex)));
        if (++readIndex == memoryLength)
            readIndex = 0;
        if (++writeIndex == memoryLength)
            writeIndex = 0;
    };

    // A sample in two parts. The first takes the input through the filter, the limiter and
    // the envelope to the memory clock's schedule; the second makes the ticks, reads the
    // memory and forms the output. The first part needs the second part's result only
    // through the feedback, so where the feedback is zero they can run apart: the first
    // part over a stretch of samples, then the second over the same stretch.
    struct SampleRecord
    {
        FloatPair raw, gained, z, s;
        float depth, rest, tickStep, tickPhase, dryGain, wetGain, feedbackGain;
        float modulation; // the envelope's part of the clock
        float sine;       // the oscillator's sine, where it is made ahead
    };
    const FloatPair zero = _mm_setzero_ps();

    // What does not depend on the signal's way back: the input through the anti-aliasing
    // low-pass, and the smoothed gains. (The smoothers' step, formed here after the
    // filter, comes after the input gain has used the last one, as it must.)
    const auto filterInput = [&](FloatPair raw, SampleRecord& rec) TARVA_ALWAYS_INLINE
    {
        // The input gain, with the alternating offset that keeps denormals away.
        rec.raw = raw;
        denormalOffset = -denormalOffset;
        rec.gained = _mm_add_ps(_mm_mul_ps(boundedInput(raw), smoothers.inputGain()),
                                _mm_set1_ps(denormalOffset));
        rec.z = filter.run(section1, section2, widen(rec.gained));

        // The 30 Hz smoothers, and the dry/wet gains they give.
        if (!smoothersSettled)
        {
            smoothers.step(denormalOffset);
        }
        rec.depth = smoothers.depth;
        rec.dryGain = smoothers.dryGain;
        rec.wetGain = smoothers.wetGain;
        rec.feedbackGain = smoothers.feedbackGain;
        return rec.z;
    };

    // The per-sample path, made once for each kind of clock so that the sample loop does
    // not test block-constant choices.
    const auto runSamples = [&]<ClockKind kClock, bool kApart>() TARVA_ALWAYS_INLINE
    {
        constexpr bool kUnitClock = kClock == ClockKind::unit;
        constexpr bool kManualClock = kUnitClock || kClock == ClockKind::manual;
        constexpr bool kSquare = kClock == ClockKind::square;
        constexpr bool kSineClock = kClock == ClockKind::sine;
        const VstInt32 last = sampleFrames - 1;

        // The first part, in two halves. The signal's half takes the filtered input z, with
        // the feedback the sample adds, through the limiter to the envelope.
        const auto frontSignal = [&](VstInt32 i, FloatPair z, FloatPair feedbackIn,
                                     SampleRecord& rec) TARVA_ALWAYS_INLINE
        {
            // The filtered input, then the feedback.
            FloatPair s = _mm_add_ps(z, feedbackIn);

            // The limiter: a running level over a short window drives the soft limiter.
            const FloatPair magnitude = absPair(s);
            const DoublePair halfMagnitude = _mm_mul_pd(widen(magnitude), _mm_set1_pd(0.5));
            const FloatPair gain = limiter.gain(magnitude);
            s = _mm_mul_ps(s, gain);

            // The peak for the meter, before the limiter.
            const float peak = leftOf(magnitude) + rightOf(magnitude);
            if (peakLevel < peak)
                peakLevel = peak;

            // The 10 Hz envelope of the limited signal; its curve bends the clock. The mean's
            // halving goes onto the magnitudes, which are known before the gain: halving a
            // double is exact here, so the products and their sum are exactly half of the
            // unhalved ones, and the mean comes one multiplication sooner.
            const DoublePair weighted = _mm_mul_pd(widen(gain), halfMagnitude);
            const auto meanLevel = static_cast<float>(
                _mm_cvtsd_f64(_mm_add_sd(weighted, _mm_unpackhi_pd(weighted, weighted))));
            const float env = envelope.step(meanLevel);
            // With the envelope's weight at 0 (a pure sine or square) the curve is multiplied
            // away: it is formed only where it can matter, and once at the end of the block.
            if ((!kManualClock && envelopeAmount != 0.0f) || i == last)
                envelope.bend(env);

            rec.modulation = envelope.modulation;

            // What the memory will be written with.
            rec.s = s;
        };

        // The clock's half: the oscillator, the clock ratio and the tick schedule.
        const auto frontClock = [&]<bool kSineAhead>(SampleRecord& rec) TARVA_ALWAYS_INLINE
        {
            // The oscillator and the memory clock. The oscillator turns whether or not it is heard.
            float oscillator = 0.0f;
            if constexpr (kSquare)
                oscillator = vcoPhase > 0.0f ? -1.0f : 1.0f;
            else if constexpr (!kManualClock)
                oscillator = shape != 0.0f ? -(kSineAhead ? rec.sine : sinToFloat(vcoPhase)) : 0.0f;
            vcoPhase = vcoPhase + phaseIncrement;
            if (vcoPhase >= kPi)
                vcoPhase = vcoPhase - kTwoPi;
            vcoOutput = oscillator * shape;
            float clock = manualRatio; // the ratio before the multiplier
            if constexpr (kManualClock)
            {
                clockRatio = manualRatio;
            }
            else
            {
                clock = static_cast<float>(
                    (static_cast<double>(vcoOutput) + rec.modulation) * rec.depth + manualClock);
                clockRatio = clock * clockMultiplier;
            }
            // The clock at the host rate needs no schedule: one tick per sample at its end,
            // read at fraction 0 (tickStep and tickPhase stay 1 and 0).
            if constexpr (!kUnitClock)
            {
                const float oldStep = tickStep;
                if constexpr (kManualClock)
                    tickStep = manualStep;
                else
                    tickStep = multiplierFolds ? stepNumerator / clock : 1.0f / clockRatio;
                // The part of a tick still to go keeps its length in host samples.
                float rest = tickPhase;
                if (!rescaleIsIdentity(tickPhase, tickStep, oldStep))
                {
                    // 1 - (1 - p) s, with s the new step over the old one (known before the
                    // tick phase p is), almost always gives the float that the rescale gives:
                    // the sample goes on with that, and the rescale itself only confirms it.
                    // Written as (1 - s) + s p, it keeps the tick phase's own way from one
                    // sample to the next short.
                    const double ratio = tickStep * inverseStep;
                    const double tickPhaseWide = tickPhase;
                    rest = static_cast<float>((1.0 - ratio) + ratio * tickPhaseWide);
                    const double remaining = 1.0 - tickPhaseWide;
                    const auto exact = static_cast<float>(1.0 - remaining * tickStep / oldStep);
                    if (TARVA_RARELY(std::bit_cast<std::uint32_t>(rest) !=
                                     std::bit_cast<std::uint32_t>(exact)))
                        rest = exact;
                }
                inverseStep =
                    kManualClock ? manualInverseStep : 1.0 / static_cast<double>(tickStep);
                tickPhase = tickStep + rest;
                rec.rest = rest;
                rec.tickStep = tickStep;
                rec.tickPhase = tickPhase;
                // The ticks themselves are the second part's; here only their count matters.
                while (tickPhase >= 1.0f)
                    tickPhase = tickPhase - 1.0f;
            }
        };

        const auto front = [&]<bool kSineAhead>(VstInt32 i, FloatPair z, FloatPair feedbackIn,
                                                SampleRecord& rec) TARVA_ALWAYS_INLINE
        {
            frontSignal(i, z, feedbackIn, rec);
            frontClock.template operator()<kSineAhead>(rec);
        };

        // The second part, from what the first part left in the record.
        const auto back = [&](VstInt32 i, const SampleRecord& rec) TARVA_ALWAYS_INLINE
        {
            writeHistory.push(widen(rec.s));
            FloatPair r;
            if constexpr (kUnitClock)
            {
                writeTick(CubicPair::through(writeHistory).atOne());
                r = narrow(readHistory.p1);
            }
            else
            {
                // The ticks: each writes one interpolated cell and reads one.
                float phase = rec.tickPhase;
                if (phase >= 1.0f)
                {
                    const CubicPair writeCubic = CubicPair::through(writeHistory);
                    float sinceSample =
                        1.0f - rec.rest; // host samples from the last sample to the tick
                    do
                    {
                        phase = phase - 1.0f;
                        writeTick(writeCubic.at(sinceSample / rec.tickStep));
                        sinceSample += 1.0f;
                    } while (phase >= 1.0f);
                    readCubic = CubicPair::through(readHistory);
                }

                // The interpolating read between ticks (at a fraction of 0 exactly the second
                // point); below three samples of delay the write signal goes straight through.
                r = phase == 0.0f ? narrow(readHistory.p1) : readCubic.at(phase);
            }
            if (delaySamples < 3.0f && hold.engaged == 0)
                r = rec.s;

            // A new delay time moves the read position at once.
            if (delayPending)
            {
                delayPending = false;
                delaySamples = static_cast<float>(static_cast<double>(rate) * t.delayMs / 1000.0);
                int read = writeIndex - static_cast<int>(delaySamples);
                if (read < 0)
                    read += memoryLength;
                readIndex = read;
            }

            // The return path: an optional 4 kHz high cut, feedback gain and sign.
            // The return path. The feedback gain is the one of this sample, or 0 all along
            // where the two parts run apart.
            feedbackSignal = returnPath.filtered(r);
            if (hold.engaged == 0)
                feedbackSignal = returnPath.scaled(feedbackSignal, rec.feedbackGain);

            output.write(i, rec.raw, rec.gained, r, rec.dryGain, rec.wetGain);

            // The synchronised hold engaging on a period boundary.
            if (TARVA_RARELY(i == holdSample))
                hold.engage();
        };

        // Where the feedback gain is zero and stays so, the returned signal is a zero of
        // either sign (unless it is not finite), and a zero leaves a non-zero z as it is.
        // Over a stretch of samples, then, the input part runs first; the first part runs
        // ahead of the second, taking each z straight; and the second part confirms the
        // zeros as it goes. A z with a zero in it waits for the sign of the zero it is
        // added to: the first part stops before it and starts again from it. A return that
        // is not zero sends the first part back to redo its run up to there, and from there
        // on the samples go one at a time.
        VstInt32 i = 0;
        if constexpr (kApart)
        {
            constexpr VstInt32 kStretch = 32;
            SampleRecord records[kStretch];
            float aheadSines[kStretch];
            float ringCopyL[Limiter::kMaxWindow], ringCopyR[Limiter::kMaxWindow];
            bool oneAtATime = false;
            while (i < sampleFrames && !oneAtATime)
            {
                const VstInt32 start = i;
                const VstInt32 end = std::min(start + kStretch, sampleFrames);
                for (VstInt32 k = start; k < end; ++k)
                    filterInput(loadPair(inL + k, inR + k), records[k - start]);
                // The oscillator does not wait for the signal either: its sines for the
                // whole stretch come first, two at a time.
                if constexpr (kSineClock)
                    oscillatorSines(aheadSines, end - start, vcoPhase, phaseIncrement);

                VstInt32 from = start;
                while (from < end)
                {
                    // What the first part changes, as it was where its run starts.
                    const Limiter savedLimiter = limiter;
                    limiter.copyRing(ringCopyL, ringCopyR);
                    const float savedPeak = peakLevel;
                    const Envelope savedEnvelope = envelope;
                    const float savedVcoPhase = vcoPhase, savedVcoOutput = vcoOutput;
                    const float savedRatio = clockRatio, savedStep = tickStep;
                    const float savedTickPhase = tickPhase;
                    const double savedInverseStep = inverseStep;
                    const FloatPair fromFeedback = feedbackSignal;

                    // The first part's run, and in it first the signal's half for every
                    // sample, then the clock's: a wrongly guessed count of ticks then costs
                    // no signal work.
                    VstInt32 ahead = from + 1; // samples the first part has done
                    while (ahead < end &&
                           (_mm_movemask_ps(_mm_cmpneq_ps(records[ahead - start].z, zero)) & 3) ==
                               3)
                        ++ahead;
                    for (VstInt32 k = from; k < ahead; ++k)
                    {
                        SampleRecord& rec = records[k - start];
                        frontSignal(k, rec.z, k == from ? fromFeedback : zero, rec);
                    }
                    for (VstInt32 k = from; k < ahead; ++k)
                    {
                        SampleRecord& rec = records[k - start];
                        rec.sine = aheadSines[k - start];
                        frontClock.template operator()<kSineClock>(rec);
                    }

                    VstInt32 done = from; // samples the second part has done
                    bool returned = false;
                    while (done < ahead)
                    {
                        back(done, records[done - start]);
                        ++done;
                        if (done < ahead &&
                            TARVA_RARELY(
                                (_mm_movemask_ps(_mm_cmpeq_ps(feedbackSignal, zero)) & 3) != 3))
                        {
                            returned = true;
                            break;
                        }
                    }

                    if (TARVA_RARELY(returned))
                    {
                        limiter = savedLimiter;
                        limiter.restoreRing(ringCopyL, ringCopyR);
                        peakLevel = savedPeak;
                        envelope = savedEnvelope;
                        vcoPhase = savedVcoPhase;
                        vcoOutput = savedVcoOutput;
                        clockRatio = savedRatio;
                        tickStep = savedStep;
                        tickPhase = savedTickPhase;
                        inverseStep = savedInverseStep;
                        for (VstInt32 k = from; k < done; ++k)
                        {
                            SampleRecord& rec = records[k - start];
                            front.template operator()<false>(k, rec.z,
                                                             k == from ? fromFeedback : zero, rec);
                        }
                        for (VstInt32 k = done; k < end; ++k)
                        {
                            SampleRecord& rec = records[k - start];
                            front.template operator()<false>(k, rec.z, feedbackSignal, rec);
                            back(k, rec);
                        }
                        oneAtATime = true;
                        break;
                    }
                    from = ahead;
                }
                i = end;
            }
        }
        // One sample at a time up to end. Each sample takes the next one's input through the
        // filter before its own clock and ticks: that work does not wait for the signal's
        // way back, and, done first, it is not lost where the count of ticks was guessed
        // wrong. Hosts may pass one buffer for input and output: a frame's input is always
        // read before its output is written.
        const auto oneAtATime = [&]<bool kSineAhead>(VstInt32 end, const float* sines)
                                    TARVA_ALWAYS_INLINE
        {
            SampleRecord records[2];
            SampleRecord* rec = records;
            SampleRecord* next = records + 1;
            filterInput(loadPair(inL + i, inR + i), *rec);
            for (; i < end; ++i, std::swap(rec, next))
            {
                if (i + 1 < end)
                    filterInput(loadPair(inL + i + 1, inR + i + 1), *next);
                if constexpr (kSineAhead)
                    rec->sine = *sines++;
                front.template operator()<kSineAhead>(i, rec->z, feedbackSignal, *rec);
                back(i, *rec);
            }
        };
        // Where the envelope does not move the clock, nothing in the clock waits for the
        // signal, and the sines can be made ahead here too, two at a time. (Where it does,
        // sines made ahead were measured to add more work than they save.)
        if (kSineClock && envelopeAmount == 0.0f)
        {
            constexpr VstInt32 kAhead = 32;
            float sines[kAhead];
            while (i < sampleFrames)
            {
                const VstInt32 end = std::min(i + kAhead, sampleFrames);
                oscillatorSines(sines, end - i, vcoPhase, phaseIncrement);
                oneAtATime.template operator()<true>(end, sines);
            }
        }
        if (i < sampleFrames)
            oneAtATime.template operator()<false>(sampleFrames, nullptr);
    };

    const bool runApart =
        feedback == 0.0f && smoothers.feedbackGain == 0.0f && hold.engaged == 0 && repeatHold == 0;
    if (clockIsManual && manualRatio == 1.0f && tickStep == 1.0f && tickPhase == 0.0f)
        runSamples.template operator()<ClockKind::unit, false>();
    else if (clockIsManual)
        runSamples.template operator()<ClockKind::manual, false>();
    else if (square)
        runSamples.template operator()<ClockKind::square, false>();
    else if (runApart)
        runSamples.template operator()<ClockKind::sine, true>();
    else
        runSamples.template operator()<ClockKind::sine, false>();

    // ---- block epilogue -----------------------------------------------------------------
    if (beat.counter + 1LL < flashWindow || beat.counter + 1LL > flashLimit)
        flashLatch = true;

    limiter.store(engine);
    engine.denormalOffset = denormalOffset;
    smoothers.store(engine);
    storeSections(section1, engine.inputFilterL1, engine.inputFilterR1);
    storeSections(section2, engine.inputFilterL2, engine.inputFilterR2);
    envelope.store(engine);
    storeHistory(writeHistory, engine.writeHistoryL, engine.writeHistoryR);
    storeHistory(readHistory, engine.readHistoryL, engine.readHistoryR);
    returnPath.store(engine);
    storePair(&engine.feedbackL, &engine.feedbackR, feedbackSignal);
    engine.vcoPhase = vcoPhase;
    engine.vcoOutput = vcoOutput;
    engine.tickStep = tickStep;
    engine.tickPhase = tickPhase;
    engine.writeIndex = writeIndex;
    engine.readIndex = readIndex;
    engine.delaySamples = delaySamples;
    hold.store(engine);
    engine.flashActive = beat.flashActive;
    display.clockRatio = clockRatio;
    display.peakLevel = peakLevel;
    display.flashLatch = flashLatch;
    display.vcoPhaseDisplay = vcoPhase;
}
