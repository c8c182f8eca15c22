// One program: a name and the values of the 18 controls. The unit of the program
// table, the state chunk, bank files and the factory table.
#pragma once

#include "effect/ParameterIndex.h"

#include <array>
#include <cstddef>

constexpr std::size_t kProgramNameBytes = 24;

struct ProgramRecord
{
    // Zero-filled after a shorter name; a name of 24 characters has no terminator.
    std::array<char, kProgramNameBytes> name{};
    std::array<float, kNumControls> values{};

    friend bool operator==(const ProgramRecord&, const ProgramRecord&) = default;
};

constexpr std::size_t kProgramRecordBytes = kProgramNameBytes + 4 * kNumControls;
static_assert(kProgramRecordBytes == 96);

// The one rule for every writer of names: 24 or more characters fill the field
// without terminator; a shorter text is stored with zeros after it.
void storeProgramName(ProgramRecord& program, const char* text) noexcept;

// Copies the name into text (at least 25 bytes) with a terminator after it.
void copyProgramName(const ProgramRecord& program, char* text) noexcept;

// The record as stored: the name bytes, then each value in the machine's byte order.
void writeProgramRecord(std::byte* out, const ProgramRecord& program) noexcept;

// Reads a stored record whose values may be byte-reversed; a NaN value becomes 0.
[[nodiscard]] ProgramRecord readProgramRecord(const std::byte* in, bool swapped) noexcept;
