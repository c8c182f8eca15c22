// The plug-in's unique identifier "TRVA". It heads the state chunk and every preset, bank
// and MIDI-settings record; readers tell the writer's byte order by comparing that field
// with it and with its byte-reversed form.
#pragma once

#include <cstdint>

// The four characters packed big-endian, as the plug-in interface spells identifiers.
constexpr std::uint32_t kPluginUniqueId = (std::uint32_t{'T'} << 24) | (std::uint32_t{'R'} << 16) |
                                          (std::uint32_t{'V'} << 8) | std::uint32_t{'A'};
