// MIDI control changes, the controller map and its learn and clear modes.
#include "support/TestPlugin.h"

#include "effect/QEL.h"

#include <cstring>
#include <random>

namespace
{
constexpr int kNone = 999;

float assignment(int controller)
{
    return (static_cast<float>(controller) + 0.5f) / 129.0f;
}
} // namespace

using Midi = HostTest;

TEST_F(Midi, DefaultMapOnEveryChannel)
{
    EXPECT_EQ(plugin->getParameter(18), assignment(102));
    for (int channel = 0; channel < 16; ++channel)
    {
        plugin->setParameter(kInput, 0.5f);
        EXPECT_EQ(plugin->controlChange(channel, 102, 127), 1);
        EXPECT_EQ(plugin->getParameter(kInput), 1.0f) << channel;
    }
    plugin->controlChange(0, 102, 64);
    EXPECT_EQ(plugin->getParameter(kInput), 64.0f / 127.0f);
    plugin->controlChange(3, 120, 0); // controller 120 moves Den
    EXPECT_EQ(plugin->getParameter(kDen), 0.0f);

    const auto before = plugin->getChunk();
    plugin->controlChange(0, 106, 127); // 106 is not in the default map
    EXPECT_EQ(plugin->getChunk(), before);
}

TEST_F(Midi, ControllerChangesAreRecordedInTheProgram)
{
    plugin->controlChange(0, 104, 0); // Mix
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f);
    EXPECT_EQ(plugin->parameterDisplay(kMix), "dry");
    auto chunk = plugin->getChunk();
    float stored;
    std::memcpy(&stored, chunk.data() + 32 + 24 + 4 * kMix, 4);
    EXPECT_EQ(stored, 0.0f);
}

TEST_F(Midi, OnlyValidControlChangesAreHandled)
{
    const auto before = plugin->getChunk();
    plugin->midi(0x90, 102, 100);   // note on
    plugin->midi(0xE0, 102, 100);   // pitch bend
    plugin->midi(0xB0, 200, 100);   // controller byte with the top bit set
    plugin->midi(0xB0, 102, 200);   // value byte with the top bit set
    plugin->midi(0xB0, 0xE6, 0x7F); // 230 would index past the controller table
    EXPECT_EQ(plugin->getChunk(), before);

    VstEvent sysex{};
    sysex.type = kVstSysExType;
    VstEvents events{};
    events.numEvents = 2;
    events.events[0] = &sysex;
    events.events[1] = nullptr;
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, &events), 1);
    EXPECT_EQ(plugin->getChunk(), before);
}

TEST_F(Midi, SeveralEventsInOneBlockApplyInOrder)
{
    VstMidiEvent first{};
    first.type = kVstMidiType;
    first.midiData[0] = static_cast<char>(0xB0);
    first.midiData[1] = 104;
    first.midiData[2] = 10;
    VstMidiEvent second = first;
    second.midiData[2] = 127;
    VstEvents events{};
    events.numEvents = 2;
    events.events[0] = reinterpret_cast<VstEvent*>(&first);
    events.events[1] = reinterpret_cast<VstEvent*>(&second);
    EXPECT_EQ(plugin->dispatch(effProcessEvents, 0, 0, &events), 1);
    EXPECT_EQ(plugin->getParameter(kMix), 1.0f);
}

TEST_F(Midi, AssignmentParametersBindControllers)
{
    plugin->setParameter(18 + kMix, 0.5f); // controller 64
    EXPECT_EQ(plugin->getParameter(18 + kMix), 0.5f);
    plugin->controlChange(0, 64, 0);
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f);
    plugin->controlChange(0, 104, 127); // Mix's old controller lets go of it
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f);

    // Giving controller 64 to Rate takes it from Mix, and Mix's value says so.
    plugin->setParameter(18 + kRate, 0.5f);
    EXPECT_EQ(plugin->getParameter(18 + kMix), assignment(128));
    plugin->controlChange(0, 64, 127);
    EXPECT_EQ(plugin->getParameter(kRate), 1.0f);
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f);

    plugin->setParameter(18 + kRate, 1.0f); // step 128: no controller
    plugin->setParameter(kRate, 0.0f);
    plugin->controlChange(0, 64, 127);
    EXPECT_EQ(plugin->getParameter(kRate), 0.0f);

    plugin->setParameter(18 + kDen, -0.5f); // taken as controller 0, never outside the table
    plugin->controlChange(0, 0, 127);
    EXPECT_EQ(plugin->getParameter(kDen), 1.0f);
}

TEST_F(Midi, LearnedMapSurvivesSavingTheProject)
{
    plugin->setParameter(18 + kFbck, assignment(21));
    const auto saved = plugin->getChunk();
    PluginInstance reopened(host, pluginLibrary().entry());
    ASSERT_TRUE(reopened);
    ASSERT_EQ(reopened.setChunk(saved), 0);
    reopened.controlChange(0, 21, 127);
    EXPECT_EQ(reopened.getParameter(kFbck), 1.0f);
    reopened.controlChange(0, 109, 0); // Fbck's default controller no longer moves it
    EXPECT_EQ(reopened.getParameter(kFbck), 1.0f);
}

using MidiLearn = EffectTest;

TEST_F(MidiLearn, TouchThenMoveBindsAndEndsLearning)
{
    effect().startLearn();
    EXPECT_TRUE(effect().isLearning());
    plugin->setParameter(kRate, 0.3f); // the touched control becomes the target
    EXPECT_EQ(effect().getLearnTarget(), kRate);
    plugin->controlChange(5, 7, 127);
    EXPECT_FALSE(effect().isLearning());
    EXPECT_EQ(effect().getControllerForParameter(kRate), 7);
    EXPECT_EQ(effect().getParameterForController(7), kRate);
    EXPECT_EQ(plugin->getParameter(kRate), 1.0f); // the learning message already moves it
    EXPECT_EQ(plugin->getParameter(18 + kRate), assignment(7));

    // Rate's previous controller lets go of it.
    EXPECT_EQ(effect().getParameterForController(115), kNone);
    plugin->controlChange(0, 115, 0);
    EXPECT_EQ(plugin->getParameter(kRate), 1.0f);
}

TEST_F(MidiLearn, LearningTakesTheControllerFromItsOldControl)
{
    effect().startLearn();
    plugin->setParameter(kRate, 0.3f);
    plugin->controlChange(0, 104, 64); // Mix's controller
    EXPECT_EQ(effect().getControllerForParameter(kMix), kNone);
    EXPECT_EQ(plugin->getParameter(18 + kMix), assignment(128));
    EXPECT_EQ(effect().getParameterForController(104), kRate);
}

TEST_F(MidiLearn, ChannelModeControllersAreNeverLearned)
{
    plugin->setParameter(18 + kMix, assignment(121));
    effect().startLearn();
    plugin->setParameter(kRate, 0.3f);
    plugin->controlChange(0, 121, 0);
    EXPECT_TRUE(effect().isLearning());
    EXPECT_EQ(effect().getControllerForParameter(kRate), 115);
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f); // 121 still moves its control
    // Moving a bound controller touches its control, so learning now targets Mix.
    EXPECT_EQ(effect().getLearnTarget(), kMix);
}

TEST_F(MidiLearn, WithoutATargetNothingIsLearned)
{
    effect().startLearn();
    plugin->controlChange(0, 7, 100);
    EXPECT_TRUE(effect().isLearning());
    EXPECT_EQ(effect().getParameterForController(7), kNone);
    effect().endLearn();
    EXPECT_FALSE(effect().isLearning());
    EXPECT_EQ(effect().getLearnTarget(), -1);
}

TEST_F(MidiLearn, ClearModeRemovesTheTouchedBinding)
{
    effect().startUnlearn();
    plugin->setParameter(kMix, 0.4f);
    EXPECT_FALSE(effect().isUnlearning());
    EXPECT_EQ(effect().getControllerForParameter(kMix), kNone);
    EXPECT_EQ(effect().getParameterForController(104), kNone);
    EXPECT_EQ(plugin->getParameter(18 + kMix), assignment(128));
    plugin->controlChange(0, 104, 127);
    EXPECT_EQ(plugin->getParameter(kMix), 0.4f);
    // Only the first touch clears.
    plugin->setParameter(kInput, 0.4f);
    EXPECT_EQ(effect().getControllerForParameter(kInput), 102);
}

TEST_F(MidiLearn, DirectOperationsKeepTheTablesInLine)
{
    effect().assignController(kFbck, 1);
    EXPECT_EQ(plugin->getParameter(18 + kFbck), assignment(1));
    effect().unassignController(1);
    EXPECT_EQ(effect().getControllerForParameter(kFbck), kNone);
    EXPECT_EQ(plugin->getParameter(18 + kFbck), assignment(128));
    effect().unassignParameter(kInput);
    EXPECT_EQ(effect().getParameterForController(102), kNone);
    effect().unassignParameter(kInput);   // already free: harmless
    effect().assignController(99, 3);     // no such control
    effect().assignController(kMix, 128); // no such controller
    EXPECT_EQ(effect().getControllerForParameter(kMix), 104);
    effect().setDefaultControllerMap();
    EXPECT_EQ(effect().getControllerForParameter(kInput), 102);
    EXPECT_EQ(effect().getControllerForParameter(kFbck), 109);
}

// Whatever sequence of bindings arrives, the two tables and the host values agree.
TEST_F(MidiLearn, TablesAndValuesNeverDisagree)
{
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> control(0, kNumControls - 1);
    std::uniform_int_distribution<int> controller(0, 127);
    std::uniform_int_distribution<int> action(0, 5);
    std::uniform_real_distribution<float> value(-0.2f, 1.2f);

    for (int step = 0; step < 3000; ++step)
    {
        switch (action(random))
        {
        case 0: plugin->setParameter(18 + control(random), value(random)); break;
        case 1:
            effect().startLearn();
            plugin->setParameter(control(random), 0.5f);
            plugin->controlChange(0, controller(random), 1);
            break;
        case 2:
            effect().startUnlearn();
            plugin->setParameter(control(random), 0.5f);
            break;
        case 3: effect().unassignController(controller(random)); break;
        case 4: effect().assignController(control(random), controller(random)); break;
        case 5: plugin->setChunk(plugin->getChunk()); break;
        }
        effect().endLearn();
        effect().endUnlearn();

        for (int p = 0; p < kNumControls; ++p)
        {
            const int c = effect().getControllerForParameter(p);
            const int step129 = stepIndex(plugin->getParameter(18 + p), 129);
            if (c == kNone)
            {
                ASSERT_EQ(step129, 128) << "step " << step << " parameter " << p;
            }
            else
            {
                ASSERT_EQ(step129, c) << "step " << step << " parameter " << p;
                ASSERT_EQ(effect().getParameterForController(c), p) << "step " << step;
            }
        }
        for (int c = 0; c < 128; ++c)
        {
            const int p = effect().getParameterForController(c);
            if (p != kNone)
            {
                ASSERT_EQ(effect().getControllerForParameter(p), c) << "step " << step;
            }
        }
    }
}
