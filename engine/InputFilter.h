// The input's anti-aliasing low-pass in the sample loop: two cascaded biquad sections, left
// and right side by side in double lanes, and the loading and storing of their state.
#pragma once

#include "engine/EngineState.h"
#include "engine/StereoPair.h"

namespace engine
{
struct BiquadPairState
{
    DoublePair x1, x2, y1, y2;
};

inline DoublePair pairOf(const BiquadSection& left, const BiquadSection& right,
                         float BiquadSection::*field)
{
    return widen(makePair(left.*field, right.*field));
}

inline BiquadPairState loadSections(const BiquadSection& left, const BiquadSection& right)
{
    return {pairOf(left, right, &BiquadSection::x1), pairOf(left, right, &BiquadSection::x2),
            pairOf(left, right, &BiquadSection::y1), pairOf(left, right, &BiquadSection::y2)};
}

inline void storeSections(const BiquadPairState& s, BiquadSection& left, BiquadSection& right)
{
    const FloatPair x1 = narrow(s.x1), x2 = narrow(s.x2), y1 = narrow(s.y1), y2 = narrow(s.y2);
    storePair(&left.x1, &right.x1, x1);
    storePair(&left.x2, &right.x2, x2);
    storePair(&left.y1, &right.y1, y1);
    storePair(&left.y2, &right.y2, y2);
}

// The anti-aliasing low-pass: two cascaded sections sharing one set of coefficients.
struct InputFilter
{
    DoublePair b0, b1, b2, a1, a2;

    DoublePair section(BiquadPairState& s, DoublePair x) const
    {
        return _mm_sub_pd(_mm_sub_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, x), _mm_mul_pd(b1, s.x1)),
                                                _mm_mul_pd(b2, s.x2)),
                                     _mm_mul_pd(a1, s.y1)),
                          _mm_mul_pd(a2, s.y2));
    }

    // The second section's input is the first one's output, but its input history
    // takes the first one's flushed output.
    FloatPair run(BiquadPairState& first, BiquadPairState& second, DoublePair x) const
    {
        const FloatPair y = narrow(section(first, x));
        first.x2 = first.x1;
        first.x1 = x;
        first.y2 = first.y1;
        first.y1 = widen(flushPair(y));
        const FloatPair z = narrow(section(second, widen(y)));
        second.x2 = second.x1;
        second.x1 = first.y1;
        second.y2 = second.y1;
        second.y1 = widen(flushPair(z));
        return z;
    }
};
} // namespace engine
