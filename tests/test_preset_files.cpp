// Preset, bank and MIDI-settings records built from and loaded into a running instance.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/ByteOrder.h"
#include "presets/CPresetSystemEditor.h"

#include <array>
#include <cstring>

using PresetBuffers = EffectTest;

namespace
{
std::array<float, kNumControls> parameterValues(PluginInstance& plugin)
{
    std::array<float, kNumControls> values{};
    for (int p = 0; p < kNumControls; ++p)
        values[p] = plugin.getParameter(p);
    return values;
}
} // namespace

TEST_F(PresetBuffers, PresetSavedFromOneProgramLoadsIntoAnother)
{
    effect().selectProgram(5);
    const auto soundOfFive = parameterValues(*plugin);
    PresetRecordBytes record{};
    editor().savePresetToBuffer(record);

    effect().selectProgram(2);
    const int updatesBefore = host.record.updateDisplayCalls;
    editor().loadPresetFromBuffer(record, false);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 2);
    EXPECT_EQ(plugin->programNameIndexed(2), "light flanger");
    EXPECT_EQ(effect().programTable()[2], effect().programTable()[5]);
    EXPECT_EQ(parameterValues(*plugin), soundOfFive);
    EXPECT_GT(host.record.updateDisplayCalls, updatesBefore);
    EXPECT_EQ(plugin->programNameIndexed(5), "light flanger"); // the source is untouched
}

TEST_F(PresetBuffers, RecordsOfOtherPluginsOrKindsChangeNothing)
{
    PresetRecordBytes preset{};
    editor().savePresetToBuffer(preset);
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    MidiRecordBytes midi{};
    editor().saveMidiToBuffer(midi);
    plugin->setParameter(kMix, 0.3f);
    const auto before = plugin->getChunk();
    const int updatesBefore = host.record.updateDisplayCalls;

    preset[0] ^= std::byte{1};
    midi[4] = std::byte{0x21};
    editor().loadPresetFromBuffer(preset, false);
    editor().loadPresetFromBuffer(PresetRecordBytes{}, false);
    editor().loadMidiFromBuffer(midi, false);
    EXPECT_EQ(plugin->getChunk(), before);
    EXPECT_EQ(host.record.updateDisplayCalls, updatesBefore);
    EXPECT_EQ(plugin->getParameter(kMix), 0.3f);
}

TEST_F(PresetBuffers, BankLoadLeavesProgramZeroSelectedWhateverHappens)
{
    storeProgramName(effect().programTable()[7], "stored seven");
    effect().programTable()[7].values[kMix] = 0.125f;
    BankRecordBytes bank{};
    editor().saveBankToBuffer(bank);
    const ProgramTable saved = effect().programTable();
    effect().initFactoryPrograms();

    // The same bank as a machine of the other byte order writes it.
    BankRecordBytes foreign = bank;
    storeNative32(foreign.data(), byteSwap32(loadNative32(foreign.data())));
    for (int k = 0; k < kNumPrograms; ++k)
        for (int p = 0; p < kNumControls; ++p)
        {
            std::byte* value = foreign.data() + 5 + 96 * k + 24 + 4 * p;
            storeNative32(value, byteSwap32(loadNative32(value)));
        }

    effect().selectProgram(9);
    editor().loadBankFromBuffer(foreign, false);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 0);
    EXPECT_EQ(effect().programTable(), saved);
    EXPECT_EQ(plugin->programNameIndexed(7), "stored seven");

    BankRecordBytes wrongType = bank;
    wrongType[4] = std::byte{0x21};
    for (const BankRecordBytes& rejected : {wrongType, BankRecordBytes{}})
    {
        effect().selectProgram(9);
        editor().loadBankFromBuffer(rejected, false);
        EXPECT_EQ(effect().getCurrentProgramIndex(), 0);
        EXPECT_EQ(effect().programTable(), saved);
    }
}

TEST_F(PresetBuffers, MidiRecordBindsControllersAsTheHostWould)
{
    MidiRecordBytes record{};
    editor().saveMidiToBuffer(record);
    EXPECT_EQ(loadFloat(record.data() + 5, false), (102 + 0.5f) / 129); // default for Input
    storeFloat(record.data() + 5 + 4 * kMix, 0.5f);                     // parameter 20

    editor().loadMidiFromBuffer(record, false);
    EXPECT_EQ(effect().getControllerForParameter(kMix), 64);
    EXPECT_EQ(effect().getParameterForController(104), 999); // Mix's default is released
    EXPECT_EQ(plugin->getParameter(18 + kMix), 0.5f);
    plugin->controlChange(0, 64, 127);
    EXPECT_EQ(plugin->getParameter(kMix), 1.0f);

    MidiRecordBytes saved{};
    editor().saveMidiToBuffer(saved);
    EXPECT_EQ(saved, record);
}
