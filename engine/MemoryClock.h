// The memory clock's helpers: the kinds of clock the sample loop is made for, the
// oscillator's sines made ahead, and the test that lets the tick phase skip its rescale.
#pragma once

#include "engine/EngineMath.h"
#include "engine/FastMath.h"
#include "engine/StereoPair.h"

#include <cmath>

namespace engine
{
enum class ClockKind
{
    unit,   // the host rate exactly: one tick per sample
    manual, // a constant ratio from Dlyx2 and ManVCO
    square, // modulated, square oscillator
    sine,   // modulated, sine oscillator
};

// The oscillator's sines for count samples from phase on, two at a time. Kept out of line:
// the sample loops have registers enough to find without it.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
inline void
oscillatorSines(float* sines, int count, float phase, float increment)
{
    for (int k = 0; k < count; ++k)
    {
        sines[k] = phase;
        phase = phase + increment;
        if (phase >= kPi)
            phase = phase - kTwoPi;
    }
    for (int k = 0; k + 1 < count; k += 2)
    {
        const FloatPair pair = sinToFloatPair(makePair(sines[k], sines[k + 1]));
        sines[k] = leftOf(pair);
        sines[k + 1] = rightOf(pair);
    }
    if (count % 2 != 0)
        sines[count - 1] = sinToFloat(sines[count - 1]);
}

// True when the rescaling of the tick phase is the identity: with an unchanged step,
// (1 - p) * step / step is exact whenever p is a multiple of 2^-24, so the division
// can be skipped without changing a bit.
inline bool rescaleIsIdentity(float tickPhase, float tickStep, float oldStep)
{
    if (tickStep != oldStep || !(std::fabs(tickPhase) < 1.0f))
        return false;
    const float scaled = tickPhase * 16777216.0f;
    return scaled == static_cast<float>(static_cast<int>(scaled));
}
} // namespace engine
