// The 36 parameters as a host reads and writes them.
#include "support/TestPlugin.h"

#include "effect/QEL.h"

#include <cmath>
#include <cstring>
#include <limits>

using Parameters = HostTest;

namespace
{
const float kNaN = std::numeric_limits<float>::quiet_NaN();
}

TEST_F(Parameters, NamesOfControlsAndControllerAssignments)
{
    const char* names[] = {"Input", "Output", "Mix",   "DlyTime",  "Dlyx2", "DlyInv",
                           "Fbck",  "HiCut",  "FbInv", "ManVCO",   "Depth", "Waveform",
                           "Rate",  "RptInf", "Power", "Dly<>Clk", "Num",   "Den"};
    for (int i = 0; i < kNumControls; ++i)
    {
        EXPECT_EQ(plugin->parameterName(i), names[i]);
        EXPECT_EQ(plugin->parameterName(18 + i), std::string("CC# ") + names[i]);
    }
    EXPECT_EQ(plugin->parameterName(33), "CC# Dly<>Clk");
    EXPECT_EQ(plugin->parameterName(29), "CC# Waveform");
    EXPECT_EQ(plugin->parameterName(36), "");
    EXPECT_EQ(plugin->parameterName(-1), "");
}

TEST_F(Parameters, Labels)
{
    const char* labels[] = {"dB", "dB", "%", "ms", " ", " ", "dB", " ", " ",
                            "X",  "%",  "",  "Hz", " ", " ", " ",  " ", " "};
    for (int i = 0; i < kNumControls; ++i)
        EXPECT_EQ(plugin->parameterLabel(i), labels[i]) << i;
    for (int i : {18, 20, 35, 36, 1000, -5})
        EXPECT_EQ(plugin->parameterLabel(i), " ") << i;
}

TEST_F(Parameters, DefaultsAreProgramZero)
{
    EXPECT_EQ(plugin->getParameter(kInput), 0.5f);
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.624961f);
    EXPECT_EQ(plugin->getParameter(kPower), 0.75f);
    EXPECT_EQ(plugin->getParameter(kDlyClk), 0.25f);
    EXPECT_EQ(plugin->getParameter(kDen), 0.038462f);
    EXPECT_EQ(plugin->getParameter(36), 0.0f);
    EXPECT_EQ(plugin->getParameter(-1), 0.0f);
}

struct DisplayCase
{
    int index;
    float value;
    const char* text;
};

TEST_F(Parameters, DisplayTexts)
{
    const DisplayCase cases[] = {
        {kInput, 0.5f, "0.000000"},
        {kInput, 1.0f, "12.04119"},
        {kInput, 0.25f, "-12.0411"},
        {kInput, 0.0f, "-oo"},
        {kOutput, 1.0f, "12.04119"},
        {kMix, 0.0f, "dry"},
        {kMix, 1.0f, "wet"},
        {kMix, 0.999f, "wet"},
        {kMix, 0.25f, "75-25"},
        {kMix, 0.5f, "50-50"},
        {kDlyTime, 0.624961f, "2000"},
        {kDlyTime, 0.0f, ""},
        {kDlyTime, 1.5f, "3200"},
        {kDlyx2, 0.75f, "on"},
        {kDlyx2, 0.49f, "off"},
        {kDlyInv, 0.5f, "on"},
        {kFbck, 0.0f, "-oo"},
        {kFbck, 0.5f, "-6.02059"},
        {kFbck, 1.0f, "0.000000"},
        {kHiCut, 1.0f, "on"},
        {kFbInv, 0.25f, "off"},
        {kManVco, 0.5f, "1.000000"},
        {kManVco, 0.0f, "0.500000"},
        {kManVco, 1.0f, "1.500000"},
        {kDepth, 0.0f, ""},
        {kDepth, 0.5f, "50"},
        {kDepth, 1.0f, "100"},
        {kWaveform, 0.0f, "sin"},
        {kWaveform, 0.25f, "50-50"},
        {kWaveform, 0.5f, "env"},
        {kWaveform, 0.875f, "25-75"},
        {kWaveform, 1.0f, "sqr"},
        {kRate, 0.0f, "0.100000"},
        {kRate, 1.0f, "10.00000"},
        {kRate, 0.5f, "1.000000"},
        {kRptInf, 0.75f, "on"},
        {kPower, 0.25f, "off"},
        {kDlyClk, 0.25f, "dly"},
        {kNum, 0.1f, "1"},
        {kNum, 0.99f, "9"},
        {kNum, 0.5f, "5"},
        {kDen, 0.038462f, "1"},
        {kDen, 1.0f, "96"},
        {kDen, 0.25f, "4"},
    };
    for (const auto& c : cases)
    {
        plugin->setParameter(c.index, c.value);
        EXPECT_EQ(plugin->parameterDisplay(c.index), c.text)
            << plugin->parameterName(c.index) << " at " << c.value;
        plugin->setParameter(kRptInf, 0.25f); // keep the hold from freezing DlyTime
    }
}

TEST_F(Parameters, ControllerParametersHaveNoDisplayText)
{
    EXPECT_EQ(plugin->parameterDisplay(18), "");
    EXPECT_EQ(plugin->parameterDisplay(36), "");
}

TEST_F(Parameters, DelayTimeIsLimitedToTheMemory)
{
    plugin->setParameter(kDlyTime, 1.5f);
    EXPECT_EQ(plugin->getParameter(kDlyTime), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "3200");
    // Below 0 it would read outside the delay memory.
    plugin->setParameter(kDlyTime, -0.5f);
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "");
}

TEST_F(Parameters, NaNIsTakenAsZeroFromEverySource)
{
    for (int index : {kInput, kMix, kDlyTime, kManVco, kDepth, kRate, kNum, kDen, kRptInf})
    {
        plugin->setParameter(index, kNaN);
        EXPECT_EQ(plugin->getParameter(index), 0.0f) << index;
        plugin->setParameter(kRptInf, 0.0f);
    }
    EXPECT_EQ(plugin->parameterDisplay(kInput), "-oo");
    EXPECT_EQ(plugin->parameterDisplay(kNum), "1");

    plugin->setParameter(18 + kMix, kNaN);
    EXPECT_EQ(plugin->getParameter(18 + kMix), 0.0f); // controller 0

    // The program store keeps 0 as well: a saved project holds no NaN.
    const auto chunk = plugin->getChunk();
    ASSERT_EQ(chunk.size(), 1736u);
    for (std::size_t offset = 32; offset < chunk.size(); offset += 4)
    {
        float v;
        std::memcpy(&v, chunk.data() + offset, sizeof v);
        if ((offset - 32) % 96 >= 24 || offset >= 1664) // float fields, not name bytes
        {
            EXPECT_FALSE(std::isnan(v)) << offset;
        }
    }
}

TEST_F(Parameters, OutOfRangeValuesAreStoredButDecodedWithinRange)
{
    plugin->setParameter(kInput, 1e30f);
    EXPECT_EQ(plugin->getParameter(kInput), 1e30f);
    EXPECT_EQ(plugin->parameterDisplay(kInput), "12.04119");

    plugin->setParameter(kNum, -0.5f); // would index before the numerator table
    EXPECT_EQ(plugin->getParameter(kNum), -0.5f);
    EXPECT_EQ(plugin->parameterDisplay(kNum), "1");
    plugin->setParameter(kDen, 7.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDen), "96");

    plugin->setParameter(kManVco, -1.0f);
    EXPECT_EQ(plugin->parameterDisplay(kManVco), "0.500000");
    plugin->setParameter(kDepth, 2.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDepth), "100");
    plugin->setParameter(kMix, -3.0f);
    EXPECT_EQ(plugin->parameterDisplay(kMix), "dry");
    plugin->setParameter(kRate, std::numeric_limits<float>::infinity());
    EXPECT_EQ(plugin->parameterDisplay(kRate), "10.00000");
    plugin->setParameter(kDlyx2, -1.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyx2), "off");

    // Indices outside 0-35 change nothing.
    plugin->setParameter(36, 0.3f);
    plugin->setParameter(-1, 0.3f);
    EXPECT_EQ(plugin->getParameter(36), 0.0f);
    EXPECT_EQ(plugin->getParameter(kInput), 1e30f);
}

TEST_F(Parameters, ClockModeTakesTheDelayFromTheTempo)
{
    plugin->setParameter(kNum, 0.1f);  // 1
    plugin->setParameter(kDen, 0.25f); // 4
    plugin->setParameter(kDlyClk, 0.75f);
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.15625f); // 500 ms at 120 BPM
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "500");
    EXPECT_EQ(plugin->parameterDisplay(kDlyClk), "clk");

    // A host write to DlyTime is ignored by the clock...
    plugin->setParameter(kDlyTime, 0.9f);
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.15625f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "500");

    plugin->setParameter(kDen, 0.0f); // 1/1: a whole note, 2000 ms
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "2000");
    plugin->setParameter(kNum, 1.0f); // 9/1: beyond the memory, limited to 3200 ms
    EXPECT_EQ(plugin->getParameter(kDlyTime), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "3200");

    // Switching the clock off keeps the synchronised time; DlyTime then applies again.
    plugin->setParameter(kDlyClk, 0.25f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "3200");
    plugin->setParameter(kDlyTime, 0.5f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1600");
}

TEST_F(Parameters, HostTempoDrivesTheClockOncePerBlock)
{
    plugin->start(44100.0f, 64);
    float buffer[64] = {};
    float* channels[2] = {buffer, buffer};
    plugin->setParameter(kNum, 0.1f);
    plugin->setParameter(kDen, 0.25f);
    plugin->setParameter(kDlyClk, 0.75f);

    host.script.tempo = 60.0; // a quarter note is 1000 ms
    plugin->process(channels, channels, 64);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1000");
    EXPECT_EQ(plugin->getParameter(kDlyTime), 0.3125f);

    host.script.tempo = 1000.0; // limited to 400 BPM: 150 ms
    plugin->process(channels, channels, 64);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "150");
    host.script.tempo = 5.0; // limited to 40 BPM: 1500 ms
    plugin->process(channels, channels, 64);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1500");

    // Without time information the tempo stays; outside clock mode the delay stays.
    host.script.timeInfoAvailable = false;
    host.script.tempo = 120.0;
    plugin->process(channels, channels, 64);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "1500");
    host.script.timeInfoAvailable = true;
    plugin->setParameter(kDlyClk, 0.25f);
    plugin->setParameter(kDlyTime, 0.1f);
    plugin->process(channels, channels, 64);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "320");
    // Back in clock mode the host's latest tempo counts.
    plugin->setParameter(kDlyClk, 0.75f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "500");
}

// Under the hold the delay controls keep what plays, in the effect and in the program
// alike, so a project saved after the hold is released reopens as it sounded.
TEST_F(Parameters, RepeatHoldRefusesDelayWritesEverywhere)
{
    plugin->setParameter(kDlyTime, 0.1f);
    plugin->setParameter(kRptInf, 0.75f);
    const auto held = plugin->getChunk();
    for (int index : {kDlyTime, kDlyClk, kNum, kDen})
    {
        const float inEffect = plugin->getParameter(index);
        plugin->setParameter(index, 0.9f);
        EXPECT_EQ(plugin->getParameter(index), inEffect) << index;
    }
    EXPECT_TRUE(plugin->getChunk() == held); // the refused values are in no program
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "320");
    EXPECT_EQ(plugin->parameterDisplay(kDlyClk), "dly");

    // Releasing the hold does not re-apply what was refused meanwhile.
    plugin->setParameter(kRptInf, 0.25f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "320");
    PluginInstance reopened(host, pluginLibrary().entry());
    ASSERT_TRUE(reopened);
    reopened.setChunk(plugin->getChunk());
    for (int index : {kDlyTime, kDlyClk, kNum, kDen})
        EXPECT_EQ(reopened.parameterDisplay(index), plugin->parameterDisplay(index)) << index;
}

TEST_F(Parameters, Properties)
{
    VstParameterProperties p{};
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kFbck, 0, &p), 0);

    std::memset(&p, 0x55, sizeof p);
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kDlyTime, 0, &p), 1);
    EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);
    EXPECT_EQ(p.stepFloat, 0.00015622559f);
    EXPECT_EQ(p.smallStepFloat, 0.00015622559f);
    EXPECT_EQ(p.minInteger, 0x55555555); // untouched

    for (int index : {kDlyx2, kDlyInv, kHiCut, kFbInv, kRptInf, kPower, kDlyClk})
    {
        p = {};
        EXPECT_EQ(plugin->dispatch(effGetParameterProperties, index, 0, &p), 1) << index;
        EXPECT_EQ(p.flags, 0xb);
        EXPECT_EQ(p.minInteger, 0);
        EXPECT_EQ(p.maxInteger, 1);
        EXPECT_EQ(p.stepInteger, 1);
        EXPECT_EQ(p.largeStepInteger, 1);
    }

    p = {};
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kNum, 0, &p), 1);
    EXPECT_EQ(p.flags, 0);
    EXPECT_EQ(p.minInteger, 1);
    EXPECT_EQ(p.maxInteger, 5);
    p = {};
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kDen, 0, &p), 1);
    EXPECT_EQ(p.flags, 0);
    EXPECT_EQ(p.maxInteger, 14);

    for (int index : {0, 2, 6, 9, 10, 11, 12, 18, 35, 36, -1})
        EXPECT_EQ(plugin->dispatch(effGetParameterProperties, index, 0, &p), 0) << index;
}

using ParameterCalls = EffectTest;

TEST_F(ParameterCalls, AutomatedChangesReachTheHostAfterTheyApply)
{
    effect().setParameterAutomated(kFbck, 0.7f);
    EXPECT_EQ(plugin->getParameter(kFbck), 0.7f);
    ASSERT_EQ(host.record.automations.size(), 1u);
    EXPECT_EQ(host.record.automations[0].first, kFbck);
    EXPECT_EQ(host.record.automations[0].second, 0.7f);
}

TEST_F(ParameterCalls, HostWritesToDelayTimeInClockModeStillReachTheProgram)
{
    plugin->setParameter(kDlyClk, 0.75f);
    plugin->setParameter(kDlyTime, 0.9f);
    EXPECT_EQ(effect().readProgram(0).values[kDlyTime], 0.9f);
    EXPECT_NE(plugin->getParameter(kDlyTime), 0.9f);
}

TEST_F(ParameterCalls, EditorTempoEntry)
{
    plugin->setParameter(kDen, 0.25f);
    plugin->setParameter(kDlyClk, 0.75f);
    effect().setTempo(0.25f); // 100 BPM: a quarter is 600 ms
    EXPECT_EQ(effect().getTempo(), 100.0f);
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "600");
    effect().setTempo(0.01f); // raised to 40 BPM
    EXPECT_EQ(effect().getTempo(), 40.0f);
    effect().setTempo(2.0f); // no upper limit from the editor
    EXPECT_EQ(effect().getTempo(), 800.0f);
}
