#include "presets/StateChunk.h"

#include "presets/ByteOrder.h"

#include <cstring>

namespace
{
constexpr std::byte kMarker[4] = {std::byte{0}, std::byte{0}, std::byte{0}, std::byte{1}};
}

void writeStateChunk(std::byte* out, std::uint32_t uniqueId, const ProgramTable& programs,
                     std::int32_t currentProgram, const ControllerValues& controllerValues) noexcept
{
    using namespace stateChunk;
    std::memset(out, 0, kBytes);
    std::memcpy(out + kMarkerOffset, kMarker, sizeof kMarker);
    storeNative32(out + kIdentifierOffset, uniqueId);
    storeNative32(out + kProgramCountOffset, static_cast<std::uint32_t>(kNumPrograms));
    storeNative32(out + kCurrentProgramOffset, static_cast<std::uint32_t>(currentProgram));
    for (std::size_t i = 0; i < programs.size(); ++i)
        writeProgramRecord(out + kProgramsOffset + i * kProgramRecordBytes, programs[i]);
    for (std::size_t i = 0; i < controllerValues.size(); ++i)
        storeFloat(out + kControllerValuesOffset + 4 * i, controllerValues[i]);
}

std::optional<StateChunkContents> readStateChunk(const void* data, std::size_t size,
                                                 std::uint32_t uniqueId) noexcept
{
    using namespace stateChunk;
    if (data == nullptr || size != kBytes)
        return std::nullopt;
    const auto* in = static_cast<const std::byte*>(data);

    // The identifier tells the byte order of the machine that wrote the chunk.
    const std::uint32_t identifier = loadNative32(in + kIdentifierOffset);
    bool swapped = false;
    if (identifier == byteSwap32(uniqueId) && identifier != uniqueId)
        swapped = true;
    else if (identifier != uniqueId)
        return std::nullopt;

    if (std::memcmp(in + kMarkerOffset, kMarker, sizeof kMarker) != 0)
        return std::nullopt;
    if (loadWord(in + kProgramCountOffset, swapped) != static_cast<std::uint32_t>(kNumPrograms))
        return std::nullopt;

    StateChunkContents contents;
    contents.currentProgram =
        static_cast<std::int32_t>(loadWord(in + kCurrentProgramOffset, swapped));
    for (std::size_t i = 0; i < contents.programs.size(); ++i)
        contents.programs[i] =
            readProgramRecord(in + kProgramsOffset + i * kProgramRecordBytes, swapped);
    for (std::size_t i = 0; i < contents.controllerValues.size(); ++i)
        contents.controllerValues[i] =
            nanToZero(loadFloat(in + kControllerValuesOffset + 4 * i, swapped));
    return contents;
}
