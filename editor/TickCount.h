// The millisecond counter the editor times its displays with. Only differences are used,
// taken as unsigned 32-bit values, so the counter may wrap.
#pragma once

#include <cstdint>

using TickSource = std::uint32_t (*)();

std::uint32_t systemTickCount();
