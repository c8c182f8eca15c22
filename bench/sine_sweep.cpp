// Checks the engine's sine against the C library on every float the oscillator's phase
// can take, [-pi, pi), and reports how many results differ and how often the library
// had to decide. Run by hand; it takes about a minute.
#include "engine/FastMath.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

int main()
{
    const float limit = 3.1415927410125732f; // the phase wraps at the single-precision pi
    long long checked = 0, differing = 0;
    for (std::uint32_t bits = 0; bits < 0x80000000u; ++bits)
    {
        const float magnitude = std::bit_cast<float>(bits);
        if (!(magnitude <= limit))
            break; // past pi; floats of a sign grow with their bits
        for (const float x : {magnitude, -magnitude})
        {
            if (x >= limit)
                continue;
            ++checked;
            if (engine::sinToFloat(x) != static_cast<float>(std::sin(static_cast<double>(x))))
                ++differing;
        }
    }
    std::printf("sine: %lld phases checked, %lld differ from the C library\n", checked, differing);
    return differing == 0 ? 0 : 1;
}
