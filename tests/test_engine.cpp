// The delay engine heard through the host interface.
#include "support/TestPlugin.h"

#include "effect/QEL.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr float kHostRate = 44100.0f;

float delayValue(double ms)
{
    return static_cast<float>(ms / 3200.0);
}

std::vector<float> noise(long frames, float amplitude, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> dist(-amplitude, amplitude);
    std::vector<float> out(static_cast<std::size_t>(frames));
    for (auto& v : out)
        v = dist(random);
    return out;
}

long peakIndex(const std::vector<float>& v, long from = 0)
{
    long best = from;
    for (long i = from; i < static_cast<long>(v.size()); ++i)
        if (std::fabs(v[i]) > std::fabs(v[best]))
            best = i;
    return best;
}

// The largest difference between two renderings of the same length.
float largestDifference(const std::vector<float>& a, const std::vector<float>& b)
{
    float largest = a.size() == b.size() ? 0.0f : std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::fabs(a[i] - b[i]));
    return largest;
}

long firstNonZero(const std::vector<float>& v, float threshold = 1e-7f)
{
    for (long i = 0; i < static_cast<long>(v.size()); ++i)
        if (std::fabs(v[i]) > threshold)
            return i;
    return -1;
}
} // namespace

class Engine : public EffectTest
{
protected:
    struct Stereo
    {
        std::vector<float> left, right;
    };

    // Starts the instance like a host, applies the settings, snaps the smoothers and plays
    // 100 ms of silence.
    void prepare(std::initializer_list<std::pair<int, float>> settings, float rate = kHostRate,
                 VstInt32 block = 512)
    {
        plugin->start(rate, block);
        for (const auto& [index, value] : settings)
            plugin->setParameter(index, value);
        plugin->suspend();
        plugin->dispatch(effMainsChanged, 0, 1);
        silence(static_cast<long>(rate / 10), block);
    }

    Stereo run(const std::vector<float>& left, const std::vector<float>& right,
               VstInt32 block = 512, bool stereoOut = true)
    {
        Stereo out{std::vector<float>(left.size()), std::vector<float>(left.size())};
        plugin->processInBlocks(left.data(), right.data(), out.left.data(),
                                stereoOut ? out.right.data() : nullptr,
                                static_cast<long>(left.size()), block);
        return out;
    }

    Stereo silence(long frames, VstInt32 block = 512)
    {
        const std::vector<float> zeros(static_cast<std::size_t>(frames), 0.0f);
        return run(zeros, zeros, block);
    }

    Stereo impulse(long frames, float height = 1.0f)
    {
        std::vector<float> in(static_cast<std::size_t>(frames), 0.0f);
        in[0] = height;
        return run(in, in);
    }

    int effectiveDelay()
    {
        float phase, level;
        int effective, nominal;
        unsigned char flash;
        effect().getDisplayState(phase, level, effective, nominal, flash);
        return effective;
    }
};

TEST_F(Engine, ImpulseReturnsOnceAfterTheDelayAndThreeSamples)
{
    prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}});
    const auto out = impulse(20000);
    EXPECT_EQ(firstNonZero(out.left), 4413); // 4410 cells plus the interpolation
    EXPECT_EQ(firstNonZero(out.right), 4413);
    EXPECT_GT(std::fabs(out.left[peakIndex(out.left)]), 0.2f);
    // Without feedback there is no second repeat.
    for (long i = 4413 + 200; i < 20000; ++i)
        ASSERT_LT(std::fabs(out.left[i]), 1e-6f) << i;
}

TEST_F(Engine, MixZeroIsTheGainedInputMixOneOnlyTheDelay)
{
    prepare({{kMix, 0.0f}, {kInput, 0.5f}, {kOutput, 0.75f}});
    const auto in = noise(4096, 0.5f, 1);
    const auto dry = run(in, in);
    for (std::size_t i = 0; i < in.size(); ++i)
        ASSERT_NEAR(dry.left[i], in[i] * 2.25f, 1e-5f) << i;

    plugin->setParameter(kMix, 1.0f);
    plugin->suspend();
    plugin->dispatch(effMainsChanged, 0, 1);
    silence(4410);
    const auto wet = run(in, in);
    for (std::size_t i = 0; i < in.size(); ++i)
        ASSERT_LT(std::fabs(wet.left[i]), 1e-6f) << i; // the 2 s repeat has not come yet
}

TEST_F(Engine, PowerOffPassesTheInputUntouched)
{
    prepare({{kPower, 0.0f}, {kInput, 1.0f}, {kOutput, 0.1f}, {kMix, 0.3f}});
    const auto left = noise(2000, 1.0f, 2);
    const auto right = noise(2000, 1.0f, 3);
    const auto out = run(left, right);
    EXPECT_EQ(out.left, left);
    EXPECT_EQ(out.right, right);

    const auto mono = run(left, right, 512, false);
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_FLOAT_EQ(mono.left[i], 0.5f * (left[i] + right[i]));
}

TEST_F(Engine, OneOutputCarriesTheAverageOfBothChannels)
{
    prepare({{kMix, 0.0f}});
    const auto left = noise(1000, 0.5f, 4);
    const std::vector<float> right(1000, 0.25f);
    const auto stereo = run(left, right);
    plugin->suspend();
    plugin->dispatch(effMainsChanged, 0, 1);
    silence(4410);
    const auto mono = run(left, right, 512, false);
    for (std::size_t i = 100; i < left.size(); ++i)
        ASSERT_NEAR(mono.left[i], 0.5f * (stereo.left[i] + stereo.right[i]), 1e-6f) << i;
}

TEST_F(Engine, MonoInputFeedsBothChannels)
{
    host.script.inputPinConnected = false;
    prepare({{kMix, 0.0f}});
    const auto left = noise(1000, 0.5f, 5);
    const std::vector<float> ignored(1000, 0.9f);
    const auto out = run(left, ignored);
    EXPECT_EQ(out.left, out.right);
}

TEST_F(Engine, ClockScalesTheDelayHeardAndReported)
{
    struct Case
    {
        float dlyx2, manVco;
        double factor;
    };
    for (const Case c : {Case{0.75f, 0.5f, 2.0}, Case{0.25f, 1.0f, 1.5}, Case{0.25f, 0.0f, 0.5}})
    {
        SetUp();
        prepare({{kDlyTime, delayValue(100)},
                 {kFbck, 0.0f},
                 {kMix, 1.0f},
                 {kDlyx2, c.dlyx2},
                 {kManVco, c.manVco}});
        EXPECT_EQ(effectiveDelay(), static_cast<int>(100 * c.factor)) << c.factor;
        const auto out = impulse(20000);
        const long heard = firstNonZero(out.left, 1e-5f);
        EXPECT_NEAR(heard, 4410 * c.factor, 4) << c.factor;
    }
}

TEST_F(Engine, DoublingReportsTwiceTheDelayWithoutProcessing)
{
    plugin->setParameter(kDlyTime, 0.625f); // 2000 ms
    plugin->setParameter(kDlyx2, 1.0f);
    EXPECT_EQ(effectiveDelay(), 4000);
}

TEST_F(Engine, SquareWaveJumpsLoseOrDoubleNoTick)
{
    // 10 Hz square at full depth: the ratio jumps between 1.5 and 0.5 every 2205 samples,
    // so each period holds 2205 * 2 + 2205 / 1.5 = 5880 ticks.
    prepare({{kWaveform, 1.0f}, {kDepth, 1.0f}, {kRate, 1.0f}, {kManVco, 0.5f}});
    plugin->suspend();
    plugin->dispatch(effMainsChanged, 0, 1);
    const int length = effect().getMemoryLength();
    const int before = effect().getWriteIndex();
    silence(44100, 441);
    const int ticks = ((effect().getWriteIndex() - before) % length + length) % length;
    // The oscillator's phase is a float sum, so a half period may be a sample longer or
    // shorter; a tick lost or doubled at each of the 20 jumps would be far outside this.
    EXPECT_NEAR(ticks, 58800, 4);
}

TEST_F(Engine, EnvelopePullsTheClockToHalfInSilence)
{
    prepare({{kDlyTime, delayValue(1000)}, {kWaveform, 0.5f}, {kDepth, 1.0f}});
    silence(44100);
    EXPECT_EQ(effectiveDelay(), 500);
    const auto loud = noise(44100, 1.0f, 6);
    run(loud, loud);
    EXPECT_GT(effectiveDelay(), 700);
}

TEST_F(Engine, HighCutActsFromTheSecondRepeatOn)
{
    auto echoes = [&](float hiCut)
    {
        SetUp();
        prepare({{kDlyTime, delayValue(50)}, {kFbck, 0.8f}, {kMix, 1.0f}, {kHiCut, hiCut}});
        return impulse(3 * 2205 + 200).left;
    };
    const auto plain = echoes(0.0f);
    const auto cut = echoes(1.0f);
    for (long i = 0; i < 2205 + 100; ++i)
        ASSERT_NEAR(plain[i], cut[i], 1e-9f) << i; // the first repeat is the same
    const long second = peakIndex(plain, 2 * 2205);
    EXPECT_LT(std::fabs(cut[peakIndex(cut, 2 * 2205)]), 0.8f * std::fabs(plain[second]));
}

TEST_F(Engine, RepeatHoldLoopsTheLastPeriodForever)
{
    prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}});
    const auto in = noise(13230, 0.5f, 7);
    run(in, in);
    plugin->setParameter(kRptInf, 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(kRptInf), "on");
    run(in, in); // new input no longer reaches the memory once the cross-fade is over
    const auto held = silence(44100 * 3);
    const long period = 4410;
    double energyFirst = 0.0, energyLast = 0.0;
    for (long i = 0; i < period; ++i)
    {
        ASSERT_EQ(held.left[i], held.left[i + 29 * period]) << i;
        energyFirst += held.left[i] * held.left[i];
        energyLast += held.left[i + 29 * period] * held.left[i + 29 * period];
    }
    EXPECT_GT(energyFirst, 1.0);
    EXPECT_EQ(energyFirst, energyLast);

    // Released, the memory takes the live signal again and the loop fades away.
    plugin->setParameter(kRptInf, 0.0f);
    const auto released = silence(44100);
    for (long i = 10000; i < 44100; ++i)
        ASSERT_LT(std::fabs(released.left[i]), 1e-6f) << i;
}

// Restoring the state a host saved, or writing RptInf as it is, leaves the hold and its
// cross-fade alone: without feedback a hit comes back once. Here both arrive 0.2 ms before
// the echo is read, when a restarted cross-fade would copy it back into the memory.
TEST_F(Engine, WritesThatLeaveTheHoldAsItWasAddNoRepeat)
{
    prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}});
    const auto saved = plugin->getChunk();
    const long beforeEcho = 4401;
    std::vector<float> in(3 * 4410, 0.0f);
    in[0] = 1.0f;
    std::vector<float> outL(in.size()), outR(in.size());
    plugin->processInBlocks(in.data(), in.data(), outL.data(), outR.data(), beforeEcho, 512);
    ASSERT_EQ(plugin->setChunk(saved), 0);
    plugin->setParameter(kRptInf, 0.25f);
    plugin->processInBlocks(in.data() + beforeEcho, in.data() + beforeEcho,
                            outL.data() + beforeEcho, outR.data() + beforeEcho,
                            static_cast<long>(in.size()) - beforeEcho, 512);
    const long echo = peakIndex(outL);
    EXPECT_GT(std::fabs(outL[echo]), 0.2f);
    EXPECT_NEAR(echo, 4413, 20);                                    // 100 ms on
    EXPECT_LT(std::fabs(outL[peakIndex(outL, 4413 + 200)]), 1e-4f); // and nothing after it
}

// Wherever the memory is cleared there is nothing to fade in from: a hit on the first
// sample after a resume is echoed as loud as one played later.
TEST_F(Engine, AHitOnTheFirstSampleAfterResumeIsEchoedAtFullLevel)
{
    for (const auto& [index, value] :
         {std::pair{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}})
        plugin->setParameter(index, value);
    auto echoOfAHit = [&]
    {
        const auto out = impulse(4413 + 100).left;
        return std::fabs(out[peakIndex(out, 4413)]);
    };
    plugin->start(kHostRate, 512);
    const float afterConstruction = echoOfAHit();
    silence(22050);
    const float later = echoOfAHit();
    plugin->suspend();
    plugin->dispatch(effMainsChanged, 0, 1);
    const float afterSuspend = echoOfAHit();
    EXPECT_GT(later, 0.1f);
    EXPECT_NEAR(afterConstruction, later, 1e-3f * later);
    EXPECT_NEAR(afterSuspend, later, 1e-3f * later);
}

TEST_F(Engine, SynchronisedHoldEngagesOnThePeriodBoundary)
{
    // 1/4 at 120 BPM: a 500 ms period, one beat. Blocks of 441 samples are 0.02 beats.
    prepare({{kDen, 0.25f}, {kNum, 0.1f}, {kDlyClk, 1.0f}});
    auto playBlocks = [&](int blocks)
    {
        const std::vector<float> in(441, 0.1f);
        std::vector<float> out(441);
        for (int b = 0; b < blocks; ++b)
        {
            float* ins[2] = {const_cast<float*>(in.data()), const_cast<float*>(in.data())};
            float* outs[2] = {out.data(), out.data()};
            plugin->process(ins, outs, 441);
            host.script.ppqPos += 0.02;
        }
    };
    host.script.ppqPos = 0.3;
    playBlocks(1);
    plugin->setParameter(kRptInf, 1.0f);
    playBlocks(30); // up to beat 0.92
    EXPECT_FALSE(effect().isHoldEngaged());
    playBlocks(5); // crosses beat 1
    EXPECT_TRUE(effect().isHoldEngaged());
}

TEST_F(Engine, SynchronisedHoldEngagesWhenBlocksDivideThePeriod)
{
    // 375-sample blocks at 48 kHz and 120 BPM divide the 24000-sample period: every
    // boundary falls on the first sample of a block.
    prepare({{kDen, 0.25f}, {kNum, 0.1f}, {kDlyClk, 1.0f}}, 48000.0f, 375);
    const double beatsPerBlock = 375.0 / 48000.0 * 2.0;
    host.script.ppqPos = 0.5;
    const std::vector<float> in(375, 0.1f);
    std::vector<float> out(375);
    float* ins[2] = {const_cast<float*>(in.data()), const_cast<float*>(in.data())};
    float* outs[2] = {out.data(), out.data()};
    plugin->setParameter(kRptInf, 1.0f);
    for (int b = 0; b < 31; ++b) // up to 0.984 beats
    {
        plugin->process(ins, outs, 375);
        host.script.ppqPos += beatsPerBlock;
    }
    EXPECT_FALSE(effect().isHoldEngaged());
    host.script.ppqPos = 1.0;
    plugin->process(ins, outs, 375);
    EXPECT_TRUE(effect().isHoldEngaged());
}

TEST_F(Engine, DelayChangeJumpsWithoutGlide)
{
    prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}});
    std::vector<float> in(1000, 0.0f);
    in[0] = 1.0f;
    const auto before = run(in, in);
    plugin->setParameter(kDlyTime, delayValue(50));
    const auto after = silence(6000);
    // Written at frame 0 and now 2205 cells behind: heard at 2205 + 3 from the impulse.
    EXPECT_EQ(firstNonZero(after.left) + 1000, 2208);
    EXPECT_EQ(firstNonZero(before.left), -1);
}

TEST_F(Engine, LimiterHoldsLoudInputAtAverageMagnitudeOne)
{
    prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}});
    std::vector<float> in(44100);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = 8.0f * static_cast<float>(std::sin(2.0 * 3.141592653589793 * 440.0 * i / 44100.0));
    const auto out = run(in, in);
    double sum = 0.0;
    for (long i = 10000; i < 44100; ++i)
        sum += std::fabs(out.left[i]);
    EXPECT_NEAR(sum / (44100 - 10000), 1.0, 0.05);
}

TEST_F(Engine, SampleRates)
{
    struct Case
    {
        float hostRate;
        int rate, cells;
    };
    for (const Case c : {Case{44100.0f, 44100, 141121}, Case{48000.0f, 48000, 153601},
                         Case{96000.0f, 96000, 307201}, Case{192000.0f, 192000, 614401},
                         Case{4000.0f, 44100, 141121}, Case{250000.0f, 44100, 141121},
                         Case{0.0f, 44100, 141121}, Case{44100.7f, 44100, 141121}})
    {
        SetUp();
        prepare({{kDlyTime, delayValue(100)}, {kFbck, 0.0f}, {kMix, 1.0f}}, c.hostRate);
        EXPECT_EQ(effect().getEngineSampleRate(), c.rate) << c.hostRate;
        EXPECT_EQ(effect().getMemoryLength(), c.cells) << c.hostRate;
        const auto out = impulse(c.rate / 5);
        EXPECT_EQ(firstNonZero(out.left), c.rate / 10 + 3) << c.hostRate;
    }
}

TEST_F(Engine, LongestDelayReadsTheOldestCell)
{
    prepare({{kDlyTime, 1.0f}, {kFbck, 0.0f}, {kMix, 1.0f}});
    const int distance =
        (effect().getWriteIndex() - effect().getReadIndex() + effect().getMemoryLength()) %
        effect().getMemoryLength();
    EXPECT_EQ(distance, 141120);
}

// The level window's sums are recomputed from the ring at every block, so their
// rounding (and nothing else) depends on where blocks start.
TEST_F(Engine, BlockSizeChangesTheSoundOnlyInTheLastBits)
{
    host.script.timeInfoAvailable = false;
    const auto in = noise(20000, 0.7f, 8);
    std::vector<std::vector<float>> results;
    for (VstInt32 block : {1, 7, 512, 4096})
    {
        SetUp();
        host.script.timeInfoAvailable = false;
        effect().selectProgram(11); // "lezlie": sine LFO, envelope, feedback
        prepare({}, kHostRate, block);
        results.push_back(run(in, in, block).left);
    }
    for (std::size_t i = 1; i < results.size(); ++i)
        EXPECT_LT(largestDifference(results[i], results[0]), 1e-5f) << "block size case " << i;
}

// Automating Waveform to a pure sine or square takes the envelope off the clock from the
// next sample on, in a long block as in a block of one. (In silence the envelope pulls the
// clock hardest, and nothing yet depends on the block size.)
TEST_F(Engine, WaveformWithoutEnvelopeTakesTheEnvelopeOffTheClockAtOnce)
{
    const auto in = noise(10000, 0.7f, 12);
    for (const float pure : {0.0f, 1.0f}) // sine, square
    {
        std::vector<std::vector<float>> results;
        for (VstInt32 block : {1, 4096})
        {
            SetUp();
            host.script.timeInfoAvailable = false;
            effect().selectProgram(11); // "lezlie": the envelope bends the clock
            prepare({}, kHostRate, block);
            silence(20000, block);
            plugin->setParameter(kWaveform, pure);
            results.push_back(run(in, in, block).left);
        }
        EXPECT_LT(largestDifference(results[1], results[0]), 1e-5f) << "Waveform " << pure;
    }
}

TEST_F(Engine, OneBufferForInputAndOutput)
{
    const auto in = noise(5000, 0.7f, 9);
    // "doubler" runs its samples in stretches, "lezlie" one at a time.
    for (const int program : {8, 11})
    {
        SetUp();
        effect().selectProgram(program);
        prepare({});
        const auto separate = run(in, in);

        SetUp();
        effect().selectProgram(program);
        prepare({});
        auto left = in;
        auto right = in;
        plugin->processInBlocks(left.data(), right.data(), left.data(), right.data(), 5000, 512);
        EXPECT_EQ(largestDifference(left, separate.left), 0.0f) << "program " << program;
        EXPECT_EQ(largestDifference(right, separate.right), 0.0f) << "program " << program;
    }
}

TEST_F(Engine, NonFiniteInputIsSilencedBeforeTheFilters)
{
    effect().selectProgram(10); // "deep flanger": high feedback
    prepare({});
    auto in = noise(20000, 0.5f, 10);
    auto zeroed = in;
    for (long i : {100L, 5000L, 5001L, 12345L})
    {
        in[i] = i % 2 != 0 ? std::numeric_limits<float>::quiet_NaN()
                           : std::numeric_limits<float>::infinity();
        zeroed[i] = 0.0f;
    }
    const auto out = run(in, in);
    SetUp();
    effect().selectProgram(10);
    prepare({});
    const auto reference = run(zeroed, zeroed);
    EXPECT_EQ(out.left, reference.left);
    for (float v : out.left)
        ASSERT_TRUE(std::isfinite(v));
}

// Finite samples far beyond any signal (a broken plug-in before this one) are taken at a
// ceiling: otherwise they overflow the input gain or blow up the limiter, and the engine
// stays NaN for good.
TEST_F(Engine, AHugeFiniteInputSampleDoesNotSilenceTheEngineForGood)
{
    effect().selectProgram(10);
    prepare({{kInput, 1.0f}}); // four times the input: far past the largest float
    auto in = noise(20000, 0.25f, 11);
    in[100] = std::numeric_limits<float>::max();
    in[101] = -std::numeric_limits<float>::max();
    in[5000] = 1.0e20f;
    std::fill(in.begin() + 9000, in.begin() + 9100, -3.0e12f);
    const auto out = run(in, in);
    double late = 0.0;
    for (std::size_t i = 0; i < out.left.size(); ++i)
    {
        ASSERT_TRUE(std::isfinite(out.left[i])) << i;
        if (i >= 15000)
            late += std::fabs(out.left[i]);
    }
    EXPECT_GT(late / 5000.0, 0.01); // still sounding
}

TEST_F(Engine, EmptyOrMissingBuffersAreIgnored)
{
    prepare({});
    float sample = 0.5f;
    float* channel[2] = {&sample, &sample};
    float* missing[2] = {nullptr, nullptr};
    plugin->process(channel, channel, 0);
    plugin->process(channel, channel, -5);
    plugin->process(nullptr, channel, 1);
    plugin->process(channel, nullptr, 1);
    plugin->process(missing, channel, 1);
    plugin->process(channel, missing, 1);
    EXPECT_EQ(sample, 0.5f);
}

TEST_F(Engine, InstancesDoNotShareSound)
{
    prepare({{kMix, 1.0f}, {kDlyTime, delayValue(10)}});
    PluginInstance other(host, inProcessEntry());
    other.start(kHostRate, 512);
    impulse(100);
    std::vector<float> zeros(2000, 0.0f), outL(2000), outR(2000);
    other.processInBlocks(zeros.data(), zeros.data(), outL.data(), outR.data(), 2000, 512);
    EXPECT_EQ(firstNonZero(outL), -1);
}

// An hour through the programs with the most feedback stays finite and bounded, and
// silence afterwards decays to values that are never denormal.
TEST_F(Engine, LongRunStaysFiniteBoundedAndFreeOfDenormals)
{
    const char* seconds = std::getenv("TARVA_LONG_RUN_SECONDS");
    const long total =
        static_cast<long>((seconds != nullptr ? std::atof(seconds) : 3600.0) * kHostRate);
    const auto chunk = noise(44100, 0.9f, 11);
    for (int program : {10, 1}) // "deep flanger", "wiper"
    {
        SetUp();
        effect().selectProgram(program);
        prepare({});
        std::vector<float> outL(chunk.size()), outR(chunk.size());
        float largest = 0.0f;
        for (long done = 0; done < total; done += static_cast<long>(chunk.size()))
        {
            plugin->processInBlocks(chunk.data(), chunk.data(), outL.data(), outR.data(),
                                    static_cast<long>(chunk.size()), 512);
            for (float v : outL)
            {
                ASSERT_TRUE(std::isfinite(v)) << "program " << program << " at " << done;
                largest = std::max(largest, std::fabs(v));
            }
        }
        EXPECT_LT(largest, 50.0f) << "program " << program;
        const auto tail = silence(10 * 44100);
        for (float v : tail.left)
            ASSERT_TRUE(v == 0.0f || std::fabs(v) >= std::numeric_limits<float>::min())
                << "program " << program;
    }
}

TEST_F(Engine, DisplayStateReportsPeakOnceAndTheBeat)
{
    prepare({{kDlyTime, delayValue(500)}});
    float phase, level;
    int effective, nominal;
    unsigned char flash;
    effect().getDisplayState(phase, level, effective, nominal, flash); // start afresh

    // Slow ramps to steady levels, so the input filter passes them without overshoot.
    std::vector<float> left(4410), right(4410);
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        const float ramp = std::min(1.0f, static_cast<float>(i) / 2000.0f);
        left[i] = 0.8f * ramp;
        right[i] = -0.4f * ramp;
    }
    run(left, right);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    EXPECT_NEAR(level, 0.5f * (0.8f + 0.4f), 1e-3f); // half the largest |left| + |right|
    EXPECT_EQ(nominal, 500);
    EXPECT_EQ(effective, 500);
    EXPECT_NE(phase, 0.0f); // the oscillator turns even at Depth 0

    // The read-out restarts the peak: once quieter audio has settled, it reports its own.
    const std::vector<float> quiet(4410, 0.1f);
    run(quiet, quiet);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    run(quiet, quiet);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    EXPECT_NEAR(level, 0.1f, 1e-3f);

    // The beat lamp: lit within 20 ms of each 500 ms period on the song's grid, so a
    // block in the middle of a period leaves it dark once the last flash was read.
    host.script.ppqPos = 0.5; // a quarter of the way into a 1-beat period
    silence(441);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    host.script.ppqPos = 0.5;
    silence(441);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    EXPECT_EQ(flash, 0);
    host.script.ppqPos = 1.0; // on the grid
    silence(441);
    effect().getDisplayState(phase, level, effective, nominal, flash);
    EXPECT_EQ(flash, 1);
}
