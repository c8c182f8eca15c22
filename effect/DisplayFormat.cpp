#include "effect/DisplayFormat.h"

#include <cmath>
#include <cstring>

void formatFloat8(float value, char* text) noexcept
{
    constexpr int kWidth = 8;
    double v = value;
    if (!std::isfinite(v) || v > 99999999.0 || v < -9999999.0)
        return;

    char out[kWidth + 1];
    int used = 0;
    if (v < 0.0)
    {
        out[used++] = '-';
        v = -v;
    }

    // Integer digits come out last first; collect them, then reverse into place.
    char integerDigits[kWidth];
    int integerCount = 0;
    const int reserved = used + 1; // the sign so far and the point
    double integer = std::floor(v);
    do
    {
        integerDigits[integerCount++] =
            static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
        integer /= 10.0;
    } while (integer >= 1.0 && reserved + integerCount < kWidth);
    for (int i = integerCount - 1; i >= 0; --i)
        out[used++] = integerDigits[i];
    out[used++] = '.';

    // Fraction digits: the fraction scaled to the digits left, peeled off from the
    // right with truncation; a part that has run down to 0 gives "0".
    const int fractionCount = kWidth - used;
    double fraction = std::fmod(v, 1.0) * std::pow(10.0, fractionCount);
    for (int i = kWidth - 1; i >= used; --i)
    {
        if (fraction <= 0.0)
        {
            out[i] = '0';
            continue;
        }
        out[i] = static_cast<char>('0' + static_cast<int>(std::fmod(fraction, 10.0)));
        fraction /= 10.0;
    }
    out[kWidth] = '\0';
    std::memcpy(text, out, sizeof out);
}

void formatDecibels(float amplitude, char* text) noexcept
{
    if (!(amplitude > 0.0f))
    {
        std::strcpy(text, "-oo");
        return;
    }
    // log10 in double, the product rounded to float: the texts hosts have always shown
    // ("12.04119" for +12 dB) come out of exactly this order.
    const float decibels = static_cast<float>(20.0 * std::log10(static_cast<double>(amplitude)));
    formatFloat8(decibels, text);
}

void formatInteger(int value, char* text) noexcept
{
    if (value >= 100000000)
    {
        std::strcpy(text, "Huge!");
        return;
    }
    char* out = text;
    long long magnitude = value;
    if (magnitude < 0)
    {
        *out++ = '-';
        magnitude = -magnitude;
    }
    bool leading = true;
    for (long long place = 100000000; place >= 1; place /= 10)
    {
        const int digit = static_cast<int>((magnitude / place) % 10);
        if (leading && digit == 0)
            continue;
        leading = false;
        *out++ = static_cast<char>('0' + digit);
    }
    *out = '\0';
}
