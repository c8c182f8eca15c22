#include "presets/PresetRecords.h"

#include "presets/ByteOrder.h"
#include "presets/FileAccess.h"

#include <algorithm>

namespace
{
void writeHeader(std::byte* out, std::uint32_t uniqueId, std::byte type) noexcept
{
    storeNative32(out, uniqueId);
    out[4] = type;
}

// The byte-order decision shared by the three readers: whether the floats are to be
// byte-reversed, or nothing when the record is not one of ours of this kind.
std::optional<bool> floatsSwapped(const std::byte* record, std::uint32_t uniqueId, std::byte type,
                                  bool reversed) noexcept
{
    const std::uint32_t identifier = loadNative32(record);
    bool swapped = false;
    if (identifier == byteSwap32(uniqueId))
        swapped = true;
    else if (identifier != uniqueId)
        return std::nullopt;
    if (record[4] != type)
        return std::nullopt;
    return swapped != reversed;
}

// A file may come from anywhere, damaged or written by another program: its values are
// limited to the parameters' range as they are read, so that nothing out of range reaches
// the effect, the host's display or the project's chunk.
ProgramRecord withUnitValues(ProgramRecord program) noexcept
{
    for (float& value : program.values)
        value = clampUnit(value);
    return program;
}
} // namespace

void writePresetRecord(std::span<std::byte, presetRecord::kBytes> out, std::uint32_t uniqueId,
                       const ProgramRecord& program) noexcept
{
    writeHeader(out.data(), uniqueId, presetRecord::kType);
    writeProgramRecord(out.data() + presetRecord::kProgramOffset, program);
}

void writeBankRecord(std::span<std::byte, bankRecord::kBytes> out, std::uint32_t uniqueId,
                     const ProgramTable& programs) noexcept
{
    writeHeader(out.data(), uniqueId, bankRecord::kType);
    for (std::size_t k = 0; k < programs.size(); ++k)
        writeProgramRecord(out.data() + bankRecord::kProgramsOffset + k * kProgramRecordBytes,
                           programs[k]);
}

void writeMidiRecord(std::span<std::byte, midiRecord::kBytes> out, std::uint32_t uniqueId,
                     const ControllerValues& controllerValues) noexcept
{
    writeHeader(out.data(), uniqueId, midiRecord::kType);
    for (std::size_t i = 0; i < controllerValues.size(); ++i)
        storeFloat(out.data() + midiRecord::kValuesOffset + 4 * i, controllerValues[i]);
}

std::optional<ProgramRecord> readPresetRecord(PresetRecordView record, std::uint32_t uniqueId,
                                              bool reversed) noexcept
{
    const auto swapped = floatsSwapped(record.data(), uniqueId, presetRecord::kType, reversed);
    if (!swapped)
        return std::nullopt;
    return withUnitValues(
        readProgramRecord(record.data() + presetRecord::kProgramOffset, *swapped));
}

std::optional<ProgramTable> readBankRecord(BankRecordView record, std::uint32_t uniqueId,
                                           bool reversed) noexcept
{
    const auto swapped = floatsSwapped(record.data(), uniqueId, bankRecord::kType, reversed);
    if (!swapped)
        return std::nullopt;
    ProgramTable programs;
    for (std::size_t k = 0; k < programs.size(); ++k)
        programs[k] = withUnitValues(readProgramRecord(
            record.data() + bankRecord::kProgramsOffset + k * kProgramRecordBytes, *swapped));
    return programs;
}

std::optional<ControllerValues> readMidiRecord(MidiRecordView record, std::uint32_t uniqueId,
                                               bool reversed) noexcept
{
    const auto swapped = floatsSwapped(record.data(), uniqueId, midiRecord::kType, reversed);
    if (!swapped)
        return std::nullopt;
    ControllerValues values;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] =
            clampUnit(loadFloat(record.data() + midiRecord::kValuesOffset + 4 * i, *swapped));
    return values;
}

RecordFileRead readRecordFile(const char* utf8Path, std::span<std::byte> record) noexcept
{
    // A cut file (an interrupted copy, a download stopped early) is not a record: loading
    // it with zeros for the missing bytes would silently blank programs or bindings.
    const auto read = readFile(utf8Path, record, LongerFile::readPrefix);
    if (read && *read == record.size())
        return RecordFileRead::read;
    std::fill(record.begin(), record.end(), std::byte{0});
    return read ? RecordFileRead::cutShort : RecordFileRead::cannotRead;
}
