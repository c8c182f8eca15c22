// The envelope's clock curve x^0.3 (the exponent being the single-precision 0.3), giving
// exactly what the C library's double pow gives once rounded to float, in a fraction of
// the time.
//
// x = m * 2^k: 2^(0.3 k) comes from one table, (1 + j/256)^0.3 for the top eight bits of
// m from another, and the remaining factor (1 + u)^0.3, u < 1/256, from its binomial
// series. The product is good to about 1e-15; where that is too close to a float rounding
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
    std::array<double, 256> mantissa{};   // (1 + j / 256)^e
    std::array<double, 256> inverse{};    // 256 / (256 + j)
    std::array<double, 7> series{};       // binomial coefficients of (1 + u)^e
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
    // m / m_j - 1, from the exact difference of the two mantissas.
    const double m = std::bit_cast<float>((bits & 0x007fffffu) | 0x3f800000u);
    const double u = (m - (1.0 + top / 256.0)) * t.inverse[top];
    double p = t.series[6];
    p = p * u + t.series[5];
    p = p * u + t.series[4];
    p = p * u + t.series[3];
    p = p * u + t.series[2];
    p = p * u + t.series[1];
    const double factor = 1.0 + u * p;
    const double y = t.powerOfTwo[exponentField] * t.mantissa[top] * factor;
    float result;
    if (roundsSurely(y, result))
        return result;
    return static_cast<float>(std::pow(static_cast<double>(x), kEnvelopeExponent));
#endif
}
} // namespace engine
