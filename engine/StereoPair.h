// Left and right travel together through the engine: two floats in the low lanes of an
// SSE register, or two doubles in an SSE2 double register. Each operation is the same
// IEEE operation the scalar code would do per channel, so results are bit-identical.
#pragma once

#include <emmintrin.h>

// The sample loop's arithmetic must melt into it even where the loop is made in several
// variants: called, it would keep every value it touches in memory.
#if defined(__GNUC__)
#define TARVA_HOT_INLINE inline __attribute__((always_inline))
#else
#define TARVA_HOT_INLINE inline
#endif

// The per-sample lambdas must melt into the block function: called, they would keep
// every local they touch in memory.
#if defined(__GNUC__)
#define TARVA_ALWAYS_INLINE __attribute__((always_inline))
#define TARVA_RARELY(condition) __builtin_expect(static_cast<long>(condition), 0)
#else
#define TARVA_ALWAYS_INLINE
#define TARVA_RARELY(condition) (condition)
#endif

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

// An input sample as the engine takes it: NaN and infinities become 0, and samples beyond
// +-10000 (80 dB over full scale: no signal, but a fault upstream) are taken at that
// ceiling. Far beyond it the input gain could overflow into the filters, and the
// limiter's running level sums would keep rounding residues large enough to turn it into
// an amplifier until the block ends: the engine would go NaN for good.
inline FloatPair boundedInput(FloatPair p) noexcept
{
    const __m128 ceiling = _mm_set1_ps(1.0e4f);
    return _mm_max_ps(_mm_min_ps(finiteOrZero(p), ceiling), _mm_sub_ps(_mm_setzero_ps(), ceiling));
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

// The last four values of a signal on both channels, oldest first.
struct HistoryPair
{
    DoublePair p0, p1, p2, p3; // float values held as doubles

    void push(DoublePair newest) noexcept
    {
        p0 = p1;
        p1 = p2;
        p2 = p3;
        p3 = newest;
    }
};

// Four-point Catmull-Rom through a history, on both channels:
// 0.5 (2 p1 + (p2 - p0) f + (2 p0 - 5 p1 + 4 p2 - p3) f^2 + (p3 - 3 p2 + 3 p1 - p0) f^3),
// each coefficient formed once and kept halved. Halving a double is exact here (no value
// comes near the bottom of the double range), so every product and sum is exactly half of
// the one in the expression above and the float of the result is the same, one
// multiplication sooner. A history that stays put between ticks keeps its coefficients.
struct CubicPair
{
    DoublePair c0, c1, c2, c3;

    static TARVA_HOT_INLINE CubicPair through(const HistoryPair& h) noexcept
    {
        const DoublePair half = _mm_set1_pd(0.5), two = _mm_set1_pd(2.0), three = _mm_set1_pd(3.0);
        const DoublePair d1 = _mm_sub_pd(h.p2, h.p0);
        const DoublePair d2 = _mm_sub_pd(
            _mm_add_pd(_mm_sub_pd(_mm_mul_pd(two, h.p0), _mm_mul_pd(_mm_set1_pd(5.0), h.p1)),
                       _mm_mul_pd(_mm_set1_pd(4.0), h.p2)),
            h.p3);
        const DoublePair d3 = _mm_sub_pd(
            _mm_add_pd(_mm_sub_pd(h.p3, _mm_mul_pd(three, h.p2)), _mm_mul_pd(three, h.p1)), h.p0);
        return {h.p1, _mm_mul_pd(half, d1), _mm_mul_pd(half, d2), _mm_mul_pd(half, d3)};
    }

    TARVA_HOT_INLINE FloatPair at(double fraction) const noexcept
    {
        const DoublePair f = _mm_set1_pd(fraction);
        const DoublePair f2 = _mm_mul_pd(f, f);
        const DoublePair f3 = _mm_mul_pd(f2, f);
        const DoublePair sum = _mm_add_pd(
            _mm_add_pd(_mm_add_pd(c0, _mm_mul_pd(c1, f)), _mm_mul_pd(c2, f2)), _mm_mul_pd(c3, f3));
        return narrow(sum);
    }

    // The same at a fraction of exactly 1, without its multiplications by 1 (which change
    // nothing): the case of every tick while the clock runs at the host rate.
    TARVA_HOT_INLINE FloatPair atOne() const noexcept
    {
        return narrow(_mm_add_pd(_mm_add_pd(_mm_add_pd(c0, c1), c2), c3));
    }
};
} // namespace engine
