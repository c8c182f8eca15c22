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
    // (1 + u)^e = 1 + e u + e (e - 1) / 2 u^2 + ..., and u = d 2^-23 / m_j.
    std::array<double, 4> binomial{1.0};
    for (int n = 1; n <= 3; ++n)
        binomial[static_cast<std::size_t>(n)] =
            binomial[static_cast<std::size_t>(n - 1)] * (kEnvelopeExponent - (n - 1)) / n;
    for (int j = 0; j < 1024; ++j)
    {
        const double mj = 1.0 + j / 1024.0;
        const double step = 0x1p-23 / mj;
        double scale = std::pow(mj, kEnvelopeExponent);
        for (std::size_t n = 0; n <= 3; ++n)
        {
            t.series[static_cast<std::size_t>(j)][n] = scale * binomial[n];
            scale *= step;
        }
    }
    return t;
}
} // namespace

const EnvelopeCurveTables kEnvelopeCurveTables = makeTables();
} // namespace engine
