// The envelope's clock curve x^0.3 (the exponent being the single-precision 0.3), giving
// exactly what the C library's double pow gives once rounded to float, in a fraction of
// the time.
//
// x = m * 2^k: 2^(0.3 k) comes from one table, (1 + j/256)^0.3 for the top eight bits of
// m from another, and the remaining factor (1 + u)^0.3, u < 1/256, from its binomial
// series to u^4 (the rest is below 2^-45). The product is good to about 3e-14; where that
// is too close to a float rounding boundary to be sure of the last bit, the library
// decides. Build with TARVA_LIBRARY_MATH to use the library function throughout.
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
    std::array<double, 256> mantissa{};   // (1 + j / 256)^e
    std::array<double, 256> inverse{};    // 2^-23 / (1 + j / 256)
    std::array<double, 5> series{};       // binomial coefficients of (1 + u)^e
};

extern const EnvelopeCurveTables kEnvelopeCurveTables;

inline float envelopeCurve(float x) noexcept
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
    const std::uint32_t top = (bits >> 15) & 0xff;
    // m / m_j - 1: the mantissa bits below the top eight are m - m_j in units of 2^-23.
    const double u =
        static_cast<double>(static_cast<std::int32_t>(bits & 0x7fffu)) * t.inverse[top];
    // The series in pairs, so that the terms are formed side by side rather than one after
    // another: the value is needed for the clock of the same sample.
    const double u2 = u * u;
    const double low = 1.0 + t.series[1] * u;
    const double high = t.series[2] + t.series[3] * u + t.series[4] * u2;
    const double factor = low + u2 * high;
    const double y = t.powerOfTwo[exponentField] * t.mantissa[top] * factor;
    if (roundsSurely(y))
        return static_cast<float>(y);
    return static_cast<float>(std::pow(static_cast<double>(x), kEnvelopeExponent));
#endif
}
} // namespace engine
