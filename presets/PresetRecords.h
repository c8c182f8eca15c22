// The records of preset (.qel), bank (.qeb) and MIDI-settings (.qem) files, which the
// per-user store keeps as well. Each is a packed byte layout in the writer's byte order:
// the plug-in identifier, a record-type byte, then names and values (so the floats start
// at odd offsets). A file holds exactly one record and nothing else.
//
// Host-side tools read files with the same code as the plug-in:
//
//     std::array<std::byte, presetRecord::kBytes> bytes;
//     if (readRecordFile(path, bytes) != RecordFileRead::read) -> unreadable, or cut short
//     auto program = readPresetRecord(bytes, kPluginUniqueId, false);
//     if (!program)                               -> not a preset of this plug-in
#pragma once

#include "presets/StateChunk.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace presetRecord
{
constexpr std::size_t kIdentifierOffset = 0;
constexpr std::size_t kTypeOffset = 4;
constexpr std::size_t kProgramOffset = 5; // a ProgramRecord: 24 name bytes, then 18 floats
constexpr std::size_t kBytes = kProgramOffset + kProgramRecordBytes;
constexpr std::byte kType{0x21};
static_assert(kBytes == 101);
} // namespace presetRecord

namespace bankRecord
{
constexpr std::size_t kProgramsOffset = 5; // program k at 5 + 96 k
constexpr std::size_t kBytes = kProgramsOffset + kNumPrograms * kProgramRecordBytes;
constexpr std::byte kType{0x37};
static_assert(kBytes == 1637);
} // namespace bankRecord

namespace midiRecord
{
constexpr std::size_t kValuesOffset = 5; // the values of parameters 18 to 35
constexpr std::size_t kBytes = kValuesOffset + 4 * kNumControls;
constexpr std::byte kType{0x0B};
static_assert(kBytes == 77);
} // namespace midiRecord

using PresetRecordBytes = std::array<std::byte, presetRecord::kBytes>;
using BankRecordBytes = std::array<std::byte, bankRecord::kBytes>;
using MidiRecordBytes = std::array<std::byte, midiRecord::kBytes>;
using PresetRecordView = std::span<const std::byte, presetRecord::kBytes>;
using BankRecordView = std::span<const std::byte, bankRecord::kBytes>;
using MidiRecordView = std::span<const std::byte, midiRecord::kBytes>;

// Writers fill every byte of the record, in this machine's byte order.
void writePresetRecord(std::span<std::byte, presetRecord::kBytes> out, std::uint32_t uniqueId,
                       const ProgramRecord& program) noexcept;
void writeBankRecord(std::span<std::byte, bankRecord::kBytes> out, std::uint32_t uniqueId,
                     const ProgramTable& programs) noexcept;
void writeMidiRecord(std::span<std::byte, midiRecord::kBytes> out, std::uint32_t uniqueId,
                     const ControllerValues& controllerValues) noexcept;

// Readers take the byte-order decision: the identifier in either byte order tells whether
// the floats are reversed; the reversed variant reverses them once more, for files whose
// floats disagree with their identifier. Names are never reversed; values are limited to
// 0..1, NaN reading as 0.
// Nothing for another plug-in's record or a record of another kind.
[[nodiscard]] std::optional<ProgramRecord>
readPresetRecord(PresetRecordView record, std::uint32_t uniqueId, bool reversed) noexcept;
[[nodiscard]] std::optional<ProgramTable>
readBankRecord(BankRecordView record, std::uint32_t uniqueId, bool reversed) noexcept;
[[nodiscard]] std::optional<ControllerValues>
readMidiRecord(MidiRecordView record, std::uint32_t uniqueId, bool reversed) noexcept;

enum class RecordFileRead
{
    read,
    cannotRead, // missing, not a regular file, not permitted, or an I/O error
    cutShort,   // shorter than the record: an interrupted copy or download
};
// Reads a record file as the plug-in does: the record's size from the start of the file; a
// longer file's excess is ignored. Unless it was read, the record is all zero.
[[nodiscard]] RecordFileRead readRecordFile(const char* utf8Path,
                                            std::span<std::byte> record) noexcept;
