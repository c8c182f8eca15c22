// Left and right travel together through the engine: two floats in the low lanes of an
// SSE register, or two doubles in an SSE2 double register. Each operation is the same
// IEEE operation the scalar code would do per channel, so results are bit-identical.
#pragma once

#include <emmintrin.h>

namespace engine
{
using FloatPair = __m128;   // lanes 0 and 1: left, right
using DoublePair = __m128d; // left, right

inline FloatPair loadPair(const float* left, const float* right) noexcept
{
    return _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
}

inline FloatPair makePair(float left, float right) noexcept
{
    return _mm_setr_ps(left, right, 0.0f, 0.0f);
}

inline float leftOf(FloatPair p) noexcept
{
    return _mm_cvtss_f32(p);
}

inline float rightOf(FloatPair p) noexcept
{
    return _mm_cvtss_f32(_mm_shuffle_ps(p, p, _MM_SHUFFLE(1, 1, 1, 1)));
}

inline void storePair(float* left, float* right, FloatPair p) noexcept
{
    _mm_store_ss(left, p);
    _mm_store_ss(right, _mm_shuffle_ps(p, p, _MM_SHUFFLE(1, 1, 1, 1)));
}

inline DoublePair widen(FloatPair p) noexcept
{
    return _mm_cvtps_pd(p);
}

// Rounds both lanes to float, as storing them in a float would.
inline FloatPair narrow(DoublePair p) noexcept
{
    return _mm_cvtpd_ps(p);
}

inline FloatPair absPair(FloatPair p) noexcept
{
    return _mm_andnot_ps(_mm_set1_ps(-0.0f), p);
}

// NaN and infinities become 0; finite values pass. (x * 0 is 0 only for finite x.)
inline FloatPair finiteOrZero(FloatPair p) noexcept
{
    const __m128 zero = _mm_setzero_ps();
    return _mm_and_ps(p, _mm_cmpeq_ps(_mm_mul_ps(p, zero), zero));
}

inline FloatPair flushPair(FloatPair p) noexcept
{
    const __m128 tiny = _mm_set1_ps(1.0e-18f);
    return _mm_sub_ps(_mm_add_ps(p, tiny), tiny);
}

inline FloatPair select(FloatPair mask, FloatPair ifTrue, FloatPair ifFalse) noexcept
{
    return _mm_or_ps(_mm_and_ps(mask, ifTrue), _mm_andnot_ps(mask, ifFalse));
}

// Four-point Catmull-Rom on both channels, the same expression as the scalar version.
struct HistoryPair
{
    DoublePair p0, p1, p2, p3; // oldest first; float values held as doubles

    void push(DoublePair newest) noexcept
    {
        p0 = p1;
        p1 = p2;
        p2 = p3;
        p3 = newest;
    }

    // The same expression at a fraction of exactly 1, without its multiplications by 1
    // (which change nothing): the case of every tick while the clock runs at the host rate.
    FloatPair interpolateAtOne() const noexcept
    {
        const DoublePair two = _mm_set1_pd(2.0), three = _mm_set1_pd(3.0);
        const DoublePair t0 = _mm_mul_pd(two, p1);
        const DoublePair t1 = _mm_sub_pd(p2, p0);
        const DoublePair t2 =
            _mm_sub_pd(_mm_add_pd(_mm_sub_pd(_mm_mul_pd(two, p0), _mm_mul_pd(_mm_set1_pd(5.0), p1)),
                                  _mm_mul_pd(_mm_set1_pd(4.0), p2)),
                       p3);
        const DoublePair t3 = _mm_sub_pd(
            _mm_add_pd(_mm_sub_pd(p3, _mm_mul_pd(three, p2)), _mm_mul_pd(three, p1)), p0);
        const DoublePair sum = _mm_add_pd(_mm_add_pd(_mm_add_pd(t0, t1), t2), t3);
        return narrow(_mm_mul_pd(_mm_set1_pd(0.5), sum));
    }

    FloatPair interpolate(double fraction) const noexcept
    {
        const DoublePair f = _mm_set1_pd(fraction);
        const DoublePair f2 = _mm_mul_pd(f, f);
        const DoublePair f3 = _mm_mul_pd(f2, f);
        const DoublePair two = _mm_set1_pd(2.0), three = _mm_set1_pd(3.0);
        const DoublePair t0 = _mm_mul_pd(two, p1);
        const DoublePair t1 = _mm_mul_pd(_mm_sub_pd(p2, p0), f);
        const DoublePair t2 = _mm_mul_pd(
            _mm_sub_pd(_mm_add_pd(_mm_sub_pd(_mm_mul_pd(two, p0), _mm_mul_pd(_mm_set1_pd(5.0), p1)),
                                  _mm_mul_pd(_mm_set1_pd(4.0), p2)),
                       p3),
            f2);
        const DoublePair t3 = _mm_mul_pd(
            _mm_sub_pd(_mm_add_pd(_mm_sub_pd(p3, _mm_mul_pd(three, p2)), _mm_mul_pd(three, p1)),
                       p0),
            f3);
        const DoublePair sum = _mm_add_pd(_mm_add_pd(_mm_add_pd(t0, t1), t2), t3);
        return narrow(_mm_mul_pd(_mm_set1_pd(0.5), sum));
    }
};
} // namespace engine
