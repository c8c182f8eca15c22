// Checks the engine's own sine and envelope curve against the C library on every float
// they can be given, and reports how many results differ. Run by hand; it takes a few
// minutes.
#include "engine/EnvelopeCurve.h"
#include "engine/FastMath.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

int main()
{
    // The oscillator's phase: [-pi, pi), pi being the single-precision value it wraps at.
    const float pi = 3.1415927410125732f;
    long long phases = 0, sineDiffers = 0;
    for (std::uint32_t bits = 0; bits < 0x80000000u; ++bits)
    {
        const float magnitude = std::bit_cast<float>(bits);
        if (!(magnitude <= pi))
            break; // floats of one sign grow with their bits
        for (const float x : {magnitude, -magnitude})
        {
            if (x >= pi || (x == 0.0f && std::signbit(x)))
                continue;
            ++phases;
            if (engine::sinToFloat(x) != static_cast<float>(std::sin(static_cast<double>(x))))
                ++sineDiffers;
        }
    }
    std::printf("sine: %lld phases checked, %lld differ from the C library\n", phases, sineDiffers);

    // The envelope: any non-negative finite float.
    long long levels = 0, curveDiffers = 0;
    for (std::uint32_t bits = 0; bits < 0x7f800000u; ++bits)
    {
        const float x = std::bit_cast<float>(bits);
        ++levels;
        if (engine::envelopeCurve(x) !=
            static_cast<float>(std::pow(static_cast<double>(x), engine::kEnvelopeExponent)))
            ++curveDiffers;
    }
    std::printf("envelope curve: %lld levels checked, %lld differ from the C library\n", levels,
                curveDiffers);
    return sineDiffers == 0 && curveDiffers == 0 ? 0 : 1;
}
