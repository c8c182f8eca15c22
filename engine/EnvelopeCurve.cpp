#include "engine/EnvelopeCurve.h"

namespace engine
{
namespace
{
// Made when the library loads, so the audio thread never meets a first-use guard.
EnvelopeCurveTables makeTables()
{
    EnvelopeCurveTables t;
    for (int field = 1; field < 255; ++field)
        t.powerOfTwo[static_cast<std::size_t>(field)] =
            std::exp2(kEnvelopeExponent * static_cast<double>(field - 127));
    for (int j = 0; j < 256; ++j)
    {
        const double mj = 1.0 + j / 256.0;
        t.mantissa[static_cast<std::size_t>(j)] = std::pow(mj, kEnvelopeExponent);
        t.inverse[static_cast<std::size_t>(j)] = 0x1p-23 / mj;
    }
    // (1 + u)^e = 1 + e u + e (e - 1) / 2 u^2 + ...
    double coefficient = 1.0;
    for (int n = 1; n <= 4; ++n)
    {
        coefficient *= (kEnvelopeExponent - (n - 1)) / n;
        t.series[static_cast<std::size_t>(n)] = coefficient;
    }
    return t;
}
} // namespace

const EnvelopeCurveTables kEnvelopeCurveTables = makeTables();
} // namespace engine
