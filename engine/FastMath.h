// The oscillator's sine, giving exactly what the C library's double sin gives once
// rounded to float, in about two thirds of the time.
//
// A polynomial accurate to about 5e-14 gives the value. Where that value lies so close
// to a float rounding boundary that the last bit is in doubt, the library function
// decides. Build with TARVA_LIBRARY_MATH to use the library function throughout.

#pragma once

#include "engine/StereoPair.h"

#include <cmath>

namespace engine
{
// True if every value within 2^-40 of y rounds to the same float as y: the float of an
// approximation that good is then the float of the exact value. The test does not hold up
// the rounding of y itself, which the caller does.
TARVA_HOT_INLINE bool roundsSurely(double y) noexcept
{
    const auto low = static_cast<float>(y * (1.0 - 0x1p-40));
    const auto high = static_cast<float>(y * (1.0 + 0x1p-40));
    return low == high;
}

// sin(x) rounded to float, for x within [-pi, pi].
TARVA_HOT_INLINE float sinToFloat(float x) noexcept
{
#if defined(TARVA_LIBRARY_MATH)
    return static_cast<float>(std::sin(static_cast<double>(x)));
#else
    constexpr double kPiHigh = 3.141592653589793;     // pi rounded to double
    constexpr double kPiLow = 1.2246467991473532e-16; // pi - kPiHigh
    constexpr double kHalfPi = 1.5707963267948966;
    const double xd = x;
    // sin(x) = sin(pi - x): fold onto [-pi/2, pi/2]; pi - x is exact for these x.
    double r = xd;
    if (xd > kHalfPi)
        r = (kPiHigh - xd) + kPiLow;
    else if (xd < -kHalfPi)
        r = (-kPiHigh - xd) - kPiLow;
    // Taylor series to r^17: the remainder, below r^19 / 19!, is under 4.4e-14 of sin(r)
    // on [-pi/2, pi/2], far inside the 2^-40 that the rounding test allows for.
    const double s = r * r;
    double p = -1.0 / 355687428096000.0; // -1/17!
    p = p * s + 1.0 / 1307674368000.0;
    p = p * s - 1.0 / 6227020800.0;
    p = p * s + 1.0 / 39916800.0;
    p = p * s - 1.0 / 362880.0;
    p = p * s + 1.0 / 5040.0;
    p = p * s - 1.0 / 120.0;
    p = p * s + 1.0 / 6.0;
    const double y = r - r * (s * p);
    if (roundsSurely(y))
        return static_cast<float>(y);
    return static_cast<float>(std::sin(xd));
#endif
}

// sinToFloat of two phases at once, in the low lanes of x: the same operations lane by
// lane, so the same floats.
inline FloatPair sinToFloatPair(FloatPair x) noexcept
{
#if defined(TARVA_LIBRARY_MATH)
    return makePair(sinToFloat(leftOf(x)), sinToFloat(rightOf(x)));
#else
    const DoublePair piHigh = _mm_set1_pd(3.141592653589793);
    const DoublePair piLow = _mm_set1_pd(1.2246467991473532e-16);
    const DoublePair halfPi = _mm_set1_pd(1.5707963267948966);
    const DoublePair xd = widen(x);
    const DoublePair above = _mm_cmpgt_pd(xd, halfPi);
    const DoublePair below = _mm_cmplt_pd(xd, _mm_sub_pd(_mm_setzero_pd(), halfPi));
    const DoublePair fromAbove = _mm_add_pd(_mm_sub_pd(piHigh, xd), piLow);
    const DoublePair fromBelow =
        _mm_sub_pd(_mm_sub_pd(_mm_sub_pd(_mm_setzero_pd(), piHigh), xd), piLow);
    const DoublePair r =
        _mm_or_pd(_mm_or_pd(_mm_and_pd(above, fromAbove), _mm_and_pd(below, fromBelow)),
                  _mm_andnot_pd(_mm_or_pd(above, below), xd));
    const DoublePair s = _mm_mul_pd(r, r);
    DoublePair p = _mm_set1_pd(-1.0 / 355687428096000.0);
    p = _mm_add_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 1307674368000.0));
    p = _mm_sub_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 6227020800.0));
    p = _mm_add_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 39916800.0));
    p = _mm_sub_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 362880.0));
    p = _mm_add_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 5040.0));
    p = _mm_sub_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 120.0));
    p = _mm_add_pd(_mm_mul_pd(p, s), _mm_set1_pd(1.0 / 6.0));
    const DoublePair y = _mm_sub_pd(r, _mm_mul_pd(r, _mm_mul_pd(s, p)));
    const FloatPair low = narrow(_mm_mul_pd(y, _mm_set1_pd(1.0 - 0x1p-40)));
    const FloatPair high = narrow(_mm_mul_pd(y, _mm_set1_pd(1.0 + 0x1p-40)));
    const FloatPair result = narrow(y);
    if ((_mm_movemask_ps(_mm_cmpeq_ps(low, high)) & 3) == 3)
        return result;
    return makePair(sinToFloat(leftOf(x)), sinToFloat(rightOf(x)));
#endif
}
} // namespace engine
