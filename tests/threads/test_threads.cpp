// Races between the threads a host calls the plug-in from: the user-interface thread opens,
// idles, uses and closes the editor while the audio thread or a host worker automates,
// plays MIDI, restores and saves the state, or renames the program. Each race runs for a
// few seconds (TARVA_RACE_SECONDS sets how long); a fault shows as a crash, a sanitizer
// report or a failed expectation.
#include "ThreadedHost.h"

#include "gui/controls/COptionMenu.h"
#include "gui/controls/CTextEdit.h"
#include "presets/StateChunk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

namespace
{
class ThreadRace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = std::make_unique<PluginInstance>(host.create(linkedEntry()));
        ASSERT_TRUE(*plugin);
        plugin->start(44100.0f, 512);
    }

    AEffect* fx() const { return plugin->effect(); }

    // Runs work on a second thread, round after round, while the calling thread, the
    // user-interface thread, runs ui round after round; both for the race's duration, and
    // the user-interface thread at least eight rounds however slow the build. Each side
    // must have run: a race that never overlapped proves nothing.
    template <class Work, class Ui> void race(Work work, Ui ui)
    {
        std::atomic<bool> stop{false};
        long workRounds = 0;
        std::thread other(
            [&]
            {
                while (!stop.load(std::memory_order_relaxed))
                {
                    work(workRounds);
                    ++workRounds;
                }
            });
        long uiRounds = 0;
        const auto end = std::chrono::steady_clock::now() + raceDuration(3.0);
        while (std::chrono::steady_clock::now() < end || uiRounds < 8)
        {
            ui(uiRounds);
            ++uiRounds;
        }
        stop = true;
        other.join();
        EXPECT_GT(workRounds, 8);
    }

    // The editor opened offscreen, idled, used and closed, as a user opens and closes it.
    template <class Use> void openUseAndClose(int idles, Use use)
    {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
        CFrame* frame = editorFrame(fx());
        ASSERT_NE(frame, nullptr);
        for (int i = 0; i < idles; ++i)
        {
            use(frame, i);
            plugin->dispatch(effEditIdle);
        }
        plugin->dispatch(effEditClose);
    }

    // A program chosen with the rocker or from the menu, as the user chooses one.
    static void chooseProgram(CFrame* frame, long round)
    {
        if (round % 3 == 2)
        {
            operate(controlWithTag(frame, kProgramMenuTag),
                    static_cast<float>((round * 7) % kNumPrograms));
            return;
        }
        if (CControl* rocker = controlWithTag(frame, kRockerTag))
        {
            operate(rocker, round % 3 == 0 ? 1.0f : -1.0f);
            rocker->setValue(0.0f); // released
        }
    }

    // The knobs show the effect's values once the editor has idled.
    void expectKnobsShowTheEffect()
    {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
        plugin->dispatch(effEditIdle);
        CFrame* frame = editorFrame(fx());
        for (std::int32_t index : {0, 1, 2, 6, 9, 10, 11, 12})
            if (CControl* knob = controlWithTag(frame, index); knob != nullptr)
                EXPECT_FLOAT_EQ(knob->getValue(), plugin->getParameter(index)) << index;
            else
                ADD_FAILURE() << "no knob " << index;
        plugin->dispatch(effEditClose);
    }

    ThreadedHost host;
    std::unique_ptr<PluginInstance> plugin;
};

float sweep(long round, int index)
{
    return static_cast<float>((round * 13 + index * 29) % 101) / 100.0f;
}
} // namespace

TEST_F(ThreadRace, EditorClosesWhileTheHostAutomatesEveryControl)
{
    race(
        [&](long round)
        {
            for (int index = 0; index < kNumControls; ++index)
                plugin->setParameter(index, sweep(round, index));
        },
        [&](long) { openUseAndClose(1, [](CFrame*, int) {}); });
    for (int index = 0; index < kNumControls; ++index)
        plugin->setParameter(index, sweep(7, index));
    expectKnobsShowTheEffect();
}

TEST_F(ThreadRace, EditorClosesWhileMidiControllersPlay)
{
    // Short blocks, each with every bound controller three times: many changes per second.
    std::vector<float> in(16, 0.25f);
    std::vector<float> outL(16);
    std::vector<float> outR(16);
    race(
        [&](long round)
        {
            MidiBlock midi;
            for (int k = 0; k < 3; ++k)
                for (int controller : kBoundControllers)
                    midi.controlChange(k, controller,
                                       static_cast<int>(sweep(round + k, controller) * 127));
            plugin->dispatch(effProcessEvents, 0, 0, midi.events());
            float* inputs[] = {in.data(), in.data()};
            float* outputs[] = {outL.data(), outR.data()};
            plugin->process(inputs, outputs, 16);
        },
        [&](long) { openUseAndClose(1, [](CFrame*, int) {}); });
    expectKnobsShowTheEffect();
}

// The host restores one state again and again and reads it back while the user steps
// through the programs: every program must come back with its own values. (Choosing a
// program from the menu may name it after the menu's entry, so names are not compared.)
TEST_F(ThreadRace, ProgramsChosenInTheEditorDoNotMixWithARestoredState)
{
    const std::vector<std::byte> restored =
        withCurrentProgram(withDistinctPrograms(plugin->getChunk()), 5);
    const ProgramValues expected = programValuesOf(restored);
    ASSERT_EQ(expected.values.size(), static_cast<std::size_t>(kNumPrograms * kNumControls));

    long mismatches = 0;
    std::string firstMismatch;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    CFrame* frame = editorFrame(fx());
    race(
        [&](long)
        {
            plugin->setChunk(restored);
            const ProgramValues back = programValuesOf(plugin->getChunk());
            if (back == expected)
                return;
            if (mismatches++ > 0 || back.values.size() != expected.values.size())
                return;
            const auto at = static_cast<std::size_t>(
                std::mismatch(back.values.begin(), back.values.end(), expected.values.begin())
                    .first -
                back.values.begin());
            const auto owner =
                std::find(expected.values.begin(), expected.values.end(), back.values[at]) -
                expected.values.begin();
            char text[160];
            std::snprintf(
                text, sizeof text,
                "program %zu, control %zu reads %g, the value of program %ld, "
                "control %ld",
                at / kNumControls, at % kNumControls, static_cast<double>(back.values[at]),
                static_cast<long>(owner / kNumControls), static_cast<long>(owner % kNumControls));
            firstMismatch = text;
        },
        [&](long round)
        {
            chooseProgram(frame, round);
            if (round % 8 == 0)
                plugin->dispatch(effEditIdle);
        });
    plugin->dispatch(effEditClose);
    EXPECT_EQ(mismatches, 0) << "first: " << firstMismatch;
}

TEST_F(ThreadRace, HostRenamesTheProgramWhileTheEditorOpensAndCloses)
{
    race(
        [&](long round)
        {
            char name[32];
            std::snprintf(name, sizeof name, "Take %ld of the night", round);
            plugin->dispatch(effSetProgramName, 0, 0, name);
        },
        [&](long) { openUseAndClose(4, [](CFrame* frame, int i) { chooseProgram(frame, i); }); });

    // Once the threads are done, the editor shows the name the host gave last.
    char name[] = "Final take";
    plugin->dispatch(effSetProgramName, 0, 0, name);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    plugin->dispatch(effEditIdle);
    CFrame* frame = editorFrame(fx());
    auto* field = dynamic_cast<CTextEdit*>(controlWithTag(frame, kProgramNameTag));
    auto* menu = dynamic_cast<COptionMenu*>(controlWithTag(frame, kProgramMenuTag));
    ASSERT_NE(field, nullptr);
    ASSERT_NE(menu, nullptr);
    EXPECT_STREQ(field->getText(), "Final take");
    ASSERT_NE(menu->getCurrent(), nullptr);
    EXPECT_STREQ(menu->getCurrent()->getTitle(), "Final take");
    EXPECT_EQ(plugin->programName(), "Final take");
    plugin->dispatch(effEditClose);
}
