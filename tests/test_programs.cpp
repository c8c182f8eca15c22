// The 17 programs inside the plug-in: factory contents, names, selection.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/FactoryPrograms.h"

#include <cstring>

using Programs = HostTest;

TEST_F(Programs, FactoryNamesInOrder)
{
    const char* names[] = {
        "default",       "wiper",        "8th fast tape",    "didgee",  "dotted 8th slow tape",
        "light flanger", "wow tape",     "16th downsampled", "doubler", "running up",
        "deep flanger",  "lezlie",       "fourforty fast",   "vocoder", "fourforty slow",
        "driven crazy",  "16th slapback"};
    for (int i = 0; i < 17; ++i)
    {
        VstIntPtr answer = 0;
        EXPECT_EQ(plugin->programNameIndexed(i, &answer), names[i]);
        EXPECT_EQ(answer, 1);
    }
    EXPECT_EQ(plugin->programName(), "default");
}

TEST_F(Programs, IndexedNameOutsideTheStoreWritesNothing)
{
    for (VstInt32 index : {17, -1, 1000})
    {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, index, 0, buffer), 0);
        EXPECT_EQ(buffer[0], '#');
    }
}

TEST_F(Programs, FactoryValuesAreTheFloatsOfTheLiterals)
{
    // A few cells checked against the literals independently of the table in the code.
    const auto chunk = plugin->getChunk();
    ASSERT_EQ(chunk.size(), 1736u);
    auto value = [&](int program, int parameter)
    {
        float v;
        std::memcpy(&v, chunk.data() + 32 + 96 * program + 24 + 4 * parameter, sizeof v);
        return v;
    };
    EXPECT_EQ(value(0, kDlyTime), 0.624961f);
    EXPECT_EQ(value(1, kFbck), 0.9975f);
    EXPECT_EQ(value(4, kDlyTime), 0.00007f);
    EXPECT_EQ(value(4, kNum), 0.3f);
    EXPECT_EQ(value(11, kRate), 0.964954f);
    EXPECT_EQ(value(16, kDen), 0.730769f);
    EXPECT_EQ(value(15, kMix), 0.973056f);
}

TEST_F(Programs, NamesAreTwentyFourCharactersAtMost)
{
    char exact[] = "abcdefghijklmnopqrstuvwx"; // 24
    plugin->dispatch(effSetProgramName, 0, 0, exact);
    EXPECT_EQ(plugin->programName(), exact);
    const auto chunk = plugin->getChunk();
    EXPECT_EQ(std::memcmp(chunk.data() + 32, exact, 24), 0); // no terminator stored

    char longer[] = "abcdefghijklmnopqrstuvwxyz0123";
    plugin->dispatch(effSetProgramName, 0, 0, longer);
    EXPECT_EQ(plugin->programName(), "abcdefghijklmnopqrstuvwx");

    char shorter[] = "echo";
    plugin->dispatch(effSetProgramName, 0, 0, shorter);
    EXPECT_EQ(plugin->programName(), "echo");
    const auto after = plugin->getChunk();
    for (int i = 4; i < 24; ++i)
        EXPECT_EQ(after[32 + i], std::byte{0}) << i; // zero-filled after a shorter name
    EXPECT_EQ(plugin->programNameIndexed(0), "echo");
    EXPECT_EQ(host.record.updateDisplayCalls, 0); // the host's own renaming is no news to it
}

using ProgramSelection = EffectTest;

TEST_F(ProgramSelection, SelectingAppliesAllValuesAndTellsTheHost)
{
    const int displaysBefore = host.record.updateDisplayCalls;
    effect().selectProgram(12);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 12);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
    EXPECT_EQ(plugin->programName(), "fourforty fast");
    for (int p = 0; p < kNumControls; ++p)
        EXPECT_EQ(plugin->getParameter(p), kFactoryPrograms[12].values[p]) << p;
    EXPECT_EQ(host.record.updateDisplayCalls, displaysBefore + 1);
}

TEST_F(ProgramSelection, ChangesAfterSelectionAreRecordedInTheCurrentProgram)
{
    effect().selectProgram(3);
    plugin->setParameter(kMix, 0.123f);
    EXPECT_EQ(effect().readProgram(3).values[kMix], 0.123f);
    EXPECT_EQ(effect().readProgram(0).values[kMix], 0.5f);
    // Applying a program does not write back into it.
    effect().selectProgram(0);
    EXPECT_EQ(effect().readProgram(3).values[kMix], 0.123f);
}

TEST_F(ProgramSelection, ClockProgramEndsInClockMode)
{
    effect().selectProgram(2); // "8th fast tape": clock on, 1/8 at 120 BPM
    EXPECT_TRUE(effect().isClockMode());
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "250");
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.078125f);

    effect().selectProgram(1); // "wiper": free time even though the last one was clocked
    EXPECT_FALSE(effect().isClockMode());
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.000344f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1");
}

// A program is applied whole, whatever held before: its own RptInf decides whether the
// hold is on afterwards.
TEST_F(ProgramSelection, HoldOnAtTheSwitchTakesTheProgramsDelayTime)
{
    plugin->setParameter(kDlyTime, 0.5f);
    plugin->setParameter(kRptInf, 0.75f);
    effect().selectProgram(1); // "wiper": 1 ms, no hold
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1");
    EXPECT_FALSE(effect().isRepeatHold());
}

TEST_F(ProgramSelection, ProgramWithHoldAndClockLoadsInClockMode)
{
    plugin->setParameter(kRptInf, 0.75f);
    setProgramValue(effect(), 5, kRptInf, 0.75f);
    setProgramValue(effect(), 5, kDlyClk, 0.75f);
    effect().selectProgram(5);
    EXPECT_TRUE(effect().isRepeatHold());
    EXPECT_TRUE(effect().isClockMode());
    EXPECT_EQ(plugin->getParameter(kDlyClk), 0.75f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyClk), "clk");
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "2000"); // 1/1 at 120 BPM
}

TEST_F(ProgramSelection, RenameAsksTheHostToRefresh)
{
    effect().selectProgram(7);
    const int before = host.record.updateDisplayCalls;
    effect().renameCurrentProgram("mine");
    EXPECT_EQ(plugin->programNameIndexed(7), "mine");
    EXPECT_EQ(host.record.updateDisplayCalls, before + 1);
    effect().renameCurrentProgram(nullptr); // keeps the name, still refreshes
    EXPECT_EQ(plugin->programName(), "mine");
    EXPECT_EQ(host.record.updateDisplayCalls, before + 2);
}

TEST_F(ProgramSelection, OutOfRangeSelectionChangesNothing)
{
    effect().selectProgram(4);
    effect().selectProgram(17);
    effect().selectProgram(-1);
    EXPECT_EQ(effect().getCurrentProgramIndex(), 4);
    EXPECT_EQ(plugin->programName(), "dotted 8th slow tape");
}
