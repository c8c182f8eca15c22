// The fixed-width number renderings of the parameter display texts.
// Each writes a zero-terminated text of at most kDisplayFormatChars characters.
#pragma once

#include <cstddef>

constexpr std::size_t kDisplayFormatChars = 12;
constexpr std::size_t kDisplayFormatBuffer = kDisplayFormatChars + 1;

// Exactly eight characters counting the sign and the point, fraction digits truncated:
// 1.0 -> "1.000000", 12.0412 -> "12.04119", -6.0206 -> "-6.02059". Values above
// 99999999 or below -9999999 (and non-finite values) leave text unwritten.
void formatFloat8(float value, char* text) noexcept;

// 20*log10 of an amplitude, through formatFloat8; "-oo" for 0 or less.
void formatDecibels(float amplitude, char* text) noexcept;

// Decimal digits with leading zeros suppressed, so 0 gives an empty text;
// 100000000 or more gives "Huge!".
void formatInteger(int value, char* text) noexcept;
