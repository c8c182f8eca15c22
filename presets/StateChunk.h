// The instance state the host saves with a project: all programs, the current
// program and the controller assignments, 1736 bytes in the writer's byte order.
#pragma once

#include "presets/ProgramRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr int kNumPrograms = 17;
using ProgramTable = std::array<ProgramRecord, kNumPrograms>;
using ControllerValues = std::array<float, kNumControls>;

namespace stateChunk
{
constexpr std::size_t kMarkerOffset = 0;       // the bytes 00 00 00 01 in any byte order
constexpr std::size_t kIdentifierOffset = 4;   // the plug-in's unique identifier
constexpr std::size_t kProgramCountOffset = 8; // 17
constexpr std::size_t kCurrentProgramOffset = 12;
constexpr std::size_t kReservedOffset = 16; // 16 zero bytes
constexpr std::size_t kProgramsOffset = 32;
constexpr std::size_t kControllerValuesOffset =
    kProgramsOffset + kNumPrograms * kProgramRecordBytes;
constexpr std::size_t kBytes = kControllerValuesOffset + 4 * kNumControls;
static_assert(kControllerValuesOffset == 1664);
static_assert(kBytes == 1736);
} // namespace stateChunk

struct StateChunkContents
{
    ProgramTable programs;
    ControllerValues controllerValues;
    std::int32_t currentProgram;
};

// Fills out (stateChunk::kBytes) from the given state.
void writeStateChunk(std::byte* out, std::uint32_t uniqueId, const ProgramTable& programs,
                     std::int32_t currentProgram,
                     const ControllerValues& controllerValues) noexcept;

// Reads a chunk of either byte order. Nothing when the size, marker, identifier or
// program count is wrong. NaN values are read as 0.
[[nodiscard]] std::optional<StateChunkContents> readStateChunk(const void* data, std::size_t size,
                                                               std::uint32_t uniqueId) noexcept;
