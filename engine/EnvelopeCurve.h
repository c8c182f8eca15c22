// The envelope's clock curve x^0.3 (the exponent being the single-precision 0.3), giving
// exactly what the C library's double pow gives once rounded to float, in a fraction of
// the time.
//
// x = m * 2^k: 2^(0.3 k) comes from one table; for the top ten bits j of m, a second
// table holds the binomial series of (m_j + d 2^-23)^0.3 to the third power of d, where d
// is the integer formed by the remaining thirteen bits (the rest of the series is below
// 2^-44). The product is good to about 5e-14; where that is too close to a float rounding
// boundary to be sure of the last bit, the library decides. Build with TARVA_LIBRARY_MATH
// to use the library function throughout.
#pragma once

#include "engine/FastMath.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace engine
{
constexpr double kEnvelopeExponent = 0.30000001192092896; // the single-precision 0.3

struct EnvelopeCurveTables
{
    std::array<double, 256> powerOfTwo{}; // 2^(e * (k + 127)) for the float exponent field k + 127
    // For m_j = 1 + j / 1024: m_j^e times the binomial coefficients of (1 + u)^e, times
    // (2^-23 / m_j)^n for the power n of d = u m_j 2^23 they go with.
    std::array<std::array<double, 4>, 1024> series{};
};

extern const EnvelopeCurveTables kEnvelopeCurveTables;

TARVA_HOT_INLINE float envelopeCurve(float x) noexcept
{
#if defined(TARVA_LIBRARY_MATH)
    return static_cast<float>(std::pow(static_cast<double>(x), kEnvelopeExponent));
#else
    const auto bits = std::bit_cast<std::uint32_t>(x);
    const std::uint32_t exponentField = bits >> 23; // sign bit included: negatives fall back
    if (x == 0.0f)
        return 0.0f;
    if (exponentField == 0 || exponentField >= 255) // subnormal, negative, infinite or NaN
        return static_cast<float>(std::pow(static_cast<double>(x), kEnvelopeExponent));
    const EnvelopeCurveTables& t = kEnvelopeCurveTables;
    const std::array<double, 4>& a = t.series[(bits >> 13) & 0x3ff];
    // The mantissa bits below the top ten, as they are: the series is in powers of them,
    // which saves scaling them before the series can start. Its terms go in pairs, formed
    // side by side rather than one after another: the value is needed for the clock of the
    // same sample.
    const auto d = static_cast<double>(static_cast<std::int32_t>(bits & 0x1fffu));
    const double scale = t.powerOfTwo[exponentField];
    const double d2 = d * d;
    const double low = a[0] + a[1] * d;
    const double high = a[2] + a[3] * d;
    // The power of two goes onto both halves before they meet, so that no multiplication
    // waits for the sum.
    const double y = scale * low + (scale * d2) * high;
    if (roundsSurely(y))
        return static_cast<float>(y);
    return static_cast<float>(std::pow(static_cast<double>(x), kEnvelopeExponent));
#endif
}
} // namespace engine
