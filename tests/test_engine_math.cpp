// The engine's arithmetic shortcuts, each against the plain expression it stands for:
// the loop's results are specified to the last bit, so every shortcut must give the same
// float, not merely a close one.
#include "engine/BeatRun.h"
#include "engine/EngineMath.h"
#include "engine/EnvelopeCurve.h"
#include "engine/FastMath.h"
#include "engine/StereoPair.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace
{
using namespace engine;

std::uint32_t bitsOf(float v)
{
    return std::bit_cast<std::uint32_t>(v);
}

// A float of any sign and magnitude the engine's signals can take, subnormals included.
float anyFloat(std::mt19937& random)
{
    std::uniform_int_distribution<std::uint32_t> field(0, 0xfe);
    std::uniform_int_distribution<std::uint32_t> mantissa(0, 0x7fffff);
    // Mostly audio levels, sometimes anything down to the bottom of the float range.
    const std::uint32_t exponent = random() % 4 == 0 ? field(random) : 100 + random() % 30;
    const std::uint32_t sign = random() % 2;
    return std::bit_cast<float>((sign << 31) | (exponent << 23) | mantissa(random));
}

// Catmull-Rom written out as the delay memory's interpolation is specified.
float catmullRom(double p0, double p1, double p2, double p3, double f)
{
    const double sum = 2.0 * p1 + (p2 - p0) * f + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * (f * f) +
                       (p3 - 3.0 * p2 + 3.0 * p1 - p0) * (f * f * f);
    return static_cast<float>(0.5 * sum);
}

TEST(EngineMath, HalvedCubicGivesTheInterpolationExpressionBitForBit)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> fraction(-0.25f, 1.0f);
    for (int n = 0; n < 200000; ++n)
    {
        float left[4], right[4];
        for (int k = 0; k < 4; ++k)
        {
            left[k] = anyFloat(random);
            right[k] = anyFloat(random);
        }
        HistoryPair h{};
        for (int k = 0; k < 4; ++k)
            h.push(widen(makePair(left[k], right[k])));
        const CubicPair cubic = CubicPair::through(h);
        float f = fraction(random);
        if (n % 7 == 0)
            f = std::ldexp(f, -int(random() % 120)); // tiny fractions
        const FloatPair at = cubic.at(f);
        ASSERT_EQ(bitsOf(leftOf(at)), bitsOf(catmullRom(left[0], left[1], left[2], left[3], f)))
            << "fraction " << f;
        ASSERT_EQ(bitsOf(rightOf(at)),
                  bitsOf(catmullRom(right[0], right[1], right[2], right[3], f)));
        const FloatPair one = cubic.atOne();
        ASSERT_EQ(bitsOf(leftOf(one)), bitsOf(catmullRom(left[0], left[1], left[2], left[3], 1.0)));
        ASSERT_EQ(bitsOf(rightOf(one)),
                  bitsOf(catmullRom(right[0], right[1], right[2], right[3], 1.0)));
    }
}

// The return path and the envelope skip the flush from 2^-34 up: there it must change
// nothing, for either sign, through every float of the lowest binade concerned and a few
// above.
TEST(EngineMath, FlushChangesNothingFromTwoToMinus34Up)
{
    for (std::uint32_t bits = bitsOf(0x1p-34f); bits < bitsOf(0x1p-31f); ++bits)
        for (const float v : {std::bit_cast<float>(bits), -std::bit_cast<float>(bits)})
            ASSERT_EQ(bitsOf(flush(v)), bitsOf(v)) << v;
    for (const float v : {1.0e-6f, 0.5f, 1.0f, 3.0e10f, -7.0e-9f})
        EXPECT_EQ(bitsOf(flush(v)), bitsOf(v));
}

// The limiter takes a quarter of the mean as the level sum times a quarter of the inverse
// window; the gain 1 - quarter must come out as from the mean itself.
TEST(EngineMath, QuarterOfTheMeanFoldsIntoTheInverseWindow)
{
    std::mt19937 random(3);
    for (const float window : {2.0f, 4.0f, 8.0f, 16.0f})
    {
        const float inverse = 1.0f / window;
        const float quarterInverse = 0.25f / window;
        for (int n = 0; n < 500000; ++n)
        {
            const float sum = anyFloat(random);
            const float fromMean = 1.0f - 0.25f * (sum * inverse);
            const float folded = 1.0f - sum * quarterInverse;
            ASSERT_EQ(bitsOf(folded), bitsOf(fromMean)) << sum << " over " << window;
        }
    }
}

// The envelope's mean level halves the magnitudes before the limiter's gain reaches them;
// the float must be the one from halving the sum of the two weighted channels.
TEST(EngineMath, HalvedMagnitudesGiveTheHalvedMeanLevel)
{
    std::mt19937 random(5);
    for (int n = 0; n < 500000; ++n)
    {
        const float gainL = anyFloat(random), gainR = anyFloat(random);
        const float levelL = std::fabs(anyFloat(random)), levelR = std::fabs(anyFloat(random));
        const auto plain = static_cast<float>(
            0.5 * (double{gainL} * double{levelL} + double{gainR} * double{levelR}));
        const auto halved = static_cast<float>(double{gainL} * (0.5 * double{levelL}) +
                                               double{gainR} * (0.5 * double{levelR}));
        ASSERT_EQ(bitsOf(halved), bitsOf(plain)) << gainL << " " << levelL;
    }
}

// Two phases at once must give what the one-phase sine gives for each, at the folds
// around +-pi/2 too.
TEST(EngineMath, SineOfTwoPhasesIsTheSineOfEach)
{
    std::mt19937 random(13);
    std::uniform_real_distribution<float> phase(-kPi, kPi);
    std::vector<float> phases;
    for (int n = 0; n < 400000; ++n)
        phases.push_back(phase(random));
    for (const float edge : {1.5707963f, -1.5707963f, 0.0f, kPi, -kPi})
    {
        float v = edge;
        for (int n = 0; n < 64; ++n)
        {
            phases.push_back(v);
            v = std::nextafter(v, 0.0f);
        }
    }
    for (std::size_t n = 0; n + 1 < phases.size(); ++n)
    {
        const FloatPair both = sinToFloatPair(makePair(phases[n], phases[n + 1]));
        ASSERT_EQ(bitsOf(leftOf(both)), bitsOf(sinToFloat(phases[n]))) << phases[n];
        ASSERT_EQ(bitsOf(rightOf(both)), bitsOf(sinToFloat(phases[n + 1]))) << phases[n + 1];
    }
}

// The certified sine and envelope curve against the library on a wide sample of inputs
// (bench/math_sweep checks every one).
TEST(EngineMath, SineAndEnvelopeCurveMatchTheLibrary)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> phase(-kPi, kPi);
    for (int n = 0; n < 300000; ++n)
    {
        const float x = phase(random);
        ASSERT_EQ(bitsOf(sinToFloat(x)), bitsOf(static_cast<float>(std::sin(double{x})))) << x;
    }
    for (int n = 0; n < 300000; ++n)
    {
        const float x = std::fabs(anyFloat(random));
        const auto expected = static_cast<float>(std::pow(double{x}, kEnvelopeExponent));
        ASSERT_EQ(bitsOf(envelopeCurve(x)), bitsOf(expected)) << x;
    }
}
} // namespace

// The beat lamp worked out a stretch at a time, against the counter run sample by sample.
TEST(EngineMath, BeatRunIsTheCounterRunSampleBySample)
{
    std::mt19937 random(20);
    for (int trial = 0; trial < 20000; ++trial)
    {
        const int periodLength =
            static_cast<int>(random() % 3 == 0 ? random() % 8 : random() % 3000);
        const int flashWindow = static_cast<int>(random() % 200);
        // Counters inside the period, on its ends and past them, as tempo and delay changes
        // leave them.
        const int counter = static_cast<int>(random() % (periodLength + 50));
        const bool boundaryAtStart = counter == 0;
        const VstInt32 frames = static_cast<VstInt32>(1 + random() % 2000);
        const int flashActiveBefore = static_cast<int>(random() % 2);

        int expectedCounter = counter, expectedActive = flashActiveBefore;
        bool expectedFlashed = false;
        VstInt32 expectedBoundary = -1;
        for (VstInt32 i = 0; i < frames; ++i)
        {
            ++expectedCounter;
            expectedActive =
                expectedCounter < flashWindow || expectedCounter > periodLength - flashWindow ? 1
                                                                                              : 0;
            if (expectedCounter > periodLength || (i == 0 && boundaryAtStart))
            {
                expectedCounter = 0;
                if (expectedBoundary < 0)
                    expectedBoundary = i;
            }
            expectedFlashed = expectedFlashed || expectedActive != 0;
        }

        const BeatRun run =
            runBeat(counter, boundaryAtStart, frames, periodLength, flashWindow, flashActiveBefore);
        ASSERT_EQ(run.counter, expectedCounter) << trial;
        ASSERT_EQ(run.flashActive, expectedActive) << trial;
        ASSERT_EQ(run.flashed, expectedFlashed) << trial;
        ASSERT_EQ(run.firstBoundary, expectedBoundary) << trial;
    }
}
