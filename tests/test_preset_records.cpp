// The preset, bank and MIDI-settings records as bytes, and reading record files, through
// the library that the plug-in and host-side tools share.
#include "presets/ByteOrder.h"
#include "presets/PluginId.h"
#include "presets/PresetRecords.h"
#include "support/TempFolder.h"
#include "support/TestPlugin.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
ProgramRecord sampleProgram(int seed)
{
    ProgramRecord program;
    storeProgramName(program, ("program " + std::to_string(seed)).c_str());
    for (int p = 0; p < kNumControls; ++p)
        program.values[p] = static_cast<float>(seed * 100 + p + 1) / 4096.0f;
    return program;
}

ProgramTable sampleBank()
{
    ProgramTable bank;
    for (int k = 0; k < kNumPrograms; ++k)
        bank[k] = sampleProgram(k);
    return bank;
}

ControllerValues sampleControllerValues()
{
    ControllerValues values;
    for (int p = 0; p < kNumControls; ++p)
        values[p] = stepValue(p * 7, 129);
    return values;
}

float floatAt(const std::byte* record, std::size_t offset)
{
    return loadFloat(record + offset, false);
}

// The same record as a machine of the other byte order writes it: the identifier and
// every float reversed, names untouched.
template <std::size_t N>
std::array<std::byte, N> otherByteOrder(std::array<std::byte, N> record,
                                        const std::vector<std::size_t>& floatOffsets)
{
    storeNative32(record.data(), byteSwap32(loadNative32(record.data())));
    for (std::size_t offset : floatOffsets)
        storeNative32(record.data() + offset, byteSwap32(loadNative32(record.data() + offset)));
    return record;
}

std::vector<std::size_t> programFloats(std::size_t programOffset, int programs)
{
    std::vector<std::size_t> offsets;
    for (int k = 0; k < programs; ++k)
        for (int p = 0; p < kNumControls; ++p)
            offsets.push_back(programOffset + k * kProgramRecordBytes + kProgramNameBytes + 4 * p);
    return offsets;
}

ProgramRecord withSwappedValues(ProgramRecord program)
{
    for (float& v : program.values)
        v = std::bit_cast<float>(byteSwap32(std::bit_cast<std::uint32_t>(v)));
    return program;
}
} // namespace

TEST(PresetRecords, LayoutIsPackedInTheWritersOrder)
{
    PresetRecordBytes preset{};
    writePresetRecord(preset, kPluginUniqueId, sampleProgram(5));
    EXPECT_EQ(loadNative32(preset.data()), kPluginUniqueId);
    EXPECT_EQ(preset[4], std::byte{0x21});
    EXPECT_EQ(std::memcmp(preset.data() + 5, "program 5\0", 10), 0);
    EXPECT_EQ(floatAt(preset.data(), 29), sampleProgram(5).values[0]); // floats at odd offsets
    EXPECT_EQ(floatAt(preset.data(), 97), sampleProgram(5).values[17]);

    BankRecordBytes bank{};
    writeBankRecord(bank, kPluginUniqueId, sampleBank());
    EXPECT_EQ(bank[4], std::byte{0x37});
    EXPECT_EQ(std::memcmp(bank.data() + 5 + 96 * 16, "program 16", 10), 0);
    EXPECT_EQ(floatAt(bank.data(), 5 + 96 * 16 + 24 + 4 * 17), sampleProgram(16).values[17]);

    MidiRecordBytes midi{};
    writeMidiRecord(midi, kPluginUniqueId, sampleControllerValues());
    EXPECT_EQ(midi[4], std::byte{0x0B});
    EXPECT_EQ(floatAt(midi.data(), 5 + 4 * 17), sampleControllerValues()[17]);
}

TEST(PresetRecords, RoundTripInBothByteOrdersAndTheReversedVariant)
{
    const ProgramRecord program = sampleProgram(3);
    PresetRecordBytes native{};
    writePresetRecord(native, kPluginUniqueId, program);
    const auto foreign = otherByteOrder(native, programFloats(5, 1));
    ASSERT_NE(foreign, native);

    EXPECT_EQ(readPresetRecord(native, kPluginUniqueId, false).value(), program);
    EXPECT_EQ(readPresetRecord(foreign, kPluginUniqueId, false).value(), program);
    // The reversed variant flips the floats the identifier asked for; names stay.
    EXPECT_EQ(readPresetRecord(native, kPluginUniqueId, true).value(), withSwappedValues(program));
    EXPECT_EQ(readPresetRecord(foreign, kPluginUniqueId, true).value(), withSwappedValues(program));

    const ProgramTable bank = sampleBank();
    BankRecordBytes bankBytes{};
    writeBankRecord(bankBytes, kPluginUniqueId, bank);
    const auto foreignBank = otherByteOrder(bankBytes, programFloats(5, kNumPrograms));
    const auto readBank = readBankRecord(foreignBank, kPluginUniqueId, false).value();
    const auto readReversed = readBankRecord(foreignBank, kPluginUniqueId, true).value();
    for (int k = 0; k < kNumPrograms; ++k)
    {
        EXPECT_EQ(readBank[k], bank[k]) << k;
        EXPECT_EQ(readReversed[k], withSwappedValues(bank[k])) << k;
    }

    const ControllerValues values = sampleControllerValues();
    MidiRecordBytes midi{};
    writeMidiRecord(midi, kPluginUniqueId, values);
    std::vector<std::size_t> midiFloats;
    for (int p = 0; p < kNumControls; ++p)
        midiFloats.push_back(5 + 4 * p);
    EXPECT_EQ(readMidiRecord(midi, kPluginUniqueId, false).value(), values);
    EXPECT_EQ(readMidiRecord(otherByteOrder(midi, midiFloats), kPluginUniqueId, false).value(),
              values);
}

TEST(PresetRecords, OtherPluginsAndOtherKindsAreRejected)
{
    PresetRecordBytes preset{};
    writePresetRecord(preset, kPluginUniqueId, sampleProgram(1));
    EXPECT_FALSE(readPresetRecord(preset, kPluginUniqueId + 1, false));
    EXPECT_FALSE(readPresetRecord(PresetRecordBytes{}, kPluginUniqueId, false)); // all zero

    auto bankType = preset;
    bankType[4] = bankRecord::kType;
    EXPECT_FALSE(readPresetRecord(bankType, kPluginUniqueId, false));

    MidiRecordBytes midi{};
    writeMidiRecord(midi, kPluginUniqueId, sampleControllerValues());
    midi[4] = presetRecord::kType;
    EXPECT_FALSE(readMidiRecord(midi, kPluginUniqueId, false));

    BankRecordBytes bank{};
    writeBankRecord(bank, kPluginUniqueId, sampleBank());
    bank[4] = midiRecord::kType;
    EXPECT_FALSE(readBankRecord(bank, kPluginUniqueId, false));
}

TEST(PresetRecords, FilesAreReadWholeUpToTheRecordSizeOrNotAtAll)
{
    TempFolder folder;
    PresetRecordBytes full{};
    writePresetRecord(full, kPluginUniqueId, sampleProgram(2));
    PresetRecordBytes record;

    std::vector<std::byte> longer(full.begin(), full.end());
    longer.resize(4000, std::byte{0x7F});
    writeBytes(folder.file("long.qel"), longer);
    ASSERT_EQ(readRecordFile(folder.file("long.qel").c_str(), record), RecordFileRead::read);
    EXPECT_EQ(record, full);

    // One byte short is as unusable as a cut after the name: nothing is read.
    for (std::size_t size : {presetRecord::kBytes - 1, std::size_t{50}, std::size_t{0}})
    {
        writeBytes(folder.file("short.qel"),
                   std::vector<std::byte>(full.begin(), full.begin() + size));
        record.fill(std::byte{0xAA});
        EXPECT_EQ(readRecordFile(folder.file("short.qel").c_str(), record),
                  RecordFileRead::cutShort)
            << size;
        EXPECT_EQ(record, PresetRecordBytes{}) << size;
    }

    record.fill(std::byte{0xAA});
    EXPECT_EQ(readRecordFile(folder.file("missing.qel").c_str(), record),
              RecordFileRead::cannotRead);
    EXPECT_EQ(readRecordFile(folder.path().string().c_str(), record), // a folder is no record
              RecordFileRead::cannotRead);
    EXPECT_EQ(record, PresetRecordBytes{});
}

// What a host-side tool does to render with a program of a bank file: parse the file with
// the plug-in's record code, then hand the plug-in a state chunk that selects the program.
using RecordsInATool = HostTest;

TEST_F(RecordsInATool, ProgramOfABankFileReachesTheInstanceThroughItsChunk)
{
    const auto chunk = plugin->getChunk();
    auto state = readStateChunk(chunk.data(), chunk.size(), kPluginUniqueId);
    ASSERT_TRUE(state);
    ProgramTable bank = state->programs;
    storeProgramName(bank[4], "from a file");
    bank[4].values[kMix] = 0.375f;
    BankRecordBytes file{};
    writeBankRecord(file, kPluginUniqueId, bank);
    TempFolder folder;
    writeBytes(folder.file("mine.qeb"), std::vector<std::byte>(file.begin(), file.end()));

    BankRecordBytes record;
    ASSERT_EQ(readRecordFile(folder.file("mine.qeb").c_str(), record), RecordFileRead::read);
    const auto programs = readBankRecord(record, kPluginUniqueId, false);
    ASSERT_TRUE(programs);
    std::vector<std::byte> selecting(stateChunk::kBytes);
    writeStateChunk(selecting.data(), kPluginUniqueId, *programs, 4, state->controllerValues);
    EXPECT_EQ(plugin->setChunk(selecting), 0);
    EXPECT_EQ(plugin->programName(), "from a file");
    EXPECT_EQ(plugin->getParameter(kMix), 0.375f);
}
