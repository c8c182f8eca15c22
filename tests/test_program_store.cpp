// Program state shared between threads: whole copies of the programs while other threads
// replace them, and whole program changes as the audio thread sees them.
#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/ProgramStore.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
ProgramTable filledTable(const char* name, float value)
{
    ProgramTable table{};
    for (auto& program : table)
    {
        storeProgramName(program, name);
        program.values.fill(value);
    }
    return table;
}
} // namespace

TEST(ProgramStore, CopiesAreWholeWhileAnotherThreadReplacesThePrograms)
{
    ProgramStore store;
    const ProgramTable first = filledTable("first", 0.25f);
    const ProgramTable second = filledTable("second program name", 0.75f);
    store.replaceAll(first);
    std::atomic<bool> stop{false};
    std::thread writer(
        [&]
        {
            // A pause after each pair leaves readers room to finish a copy: a writer that
            // never stops would keep every copy from completing.
            for (long pair = 1; !stop.load(); ++pair)
            {
                store.replaceAll(second);
                store.replaceAll(first);
                if (pair % 4 == 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
        });
    int torn = 0;
    for (int i = 0; i < 50000; ++i)
    {
        const ProgramTable all = store.readAll();
        torn += all == first || all == second ? 0 : 1;
        const int k = i % kNumPrograms;
        const ProgramRecord one = store.read(k);
        torn += one == first[k] || one == second[k] ? 0 : 1;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(torn, 0);
}

// One thread switches between two programs that differ in every decoded gain; the audio
// thread must play each block with the values of one of them, never a mixture.
TEST_F(EffectTest, TheAudioThreadTakesAProgramChangeWhole)
{
    plugin->start(44100.0f, 16);
    ProgramRecord quiet = effect().readProgram(0);
    ProgramRecord loud = quiet;
    for (int p : {kInput, kOutput, kMix, kFbck})
    {
        quiet.values[p] = 0.25f;
        loud.values[p] = 0.75f;
    }
    effect().replaceProgram(1, quiet);
    effect().replaceProgram(2, loud);
    effect().selectProgram(1);
    std::array<float, 16> in{}, outL{}, outR{};
    float* inputs[] = {in.data(), in.data()};
    float* outputs[] = {outL.data(), outR.data()};
    plugin->process(inputs, outputs, 16); // the first block takes the quiet program

    std::atomic<bool> stop{false};
    std::thread host(
        [&]
        {
            while (!stop.load())
            {
                effect().selectProgram(1);
                effect().selectProgram(2);
            }
        });
    int mixed = 0;
    int switches = 0;
    bool wasLoud = false;
    // Some blocks in any case, and until changes have arrived (the host thread may start late
    // on a busy machine).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int block = 0;
         block < 20000 || (switches < 20 && std::chrono::steady_clock::now() < deadline); ++block)
    {
        plugin->process(inputs, outputs, 16);
        const BlockTargets& t = effect().getBlockTargets();
        const bool allQuiet =
            t.inputGain == 0.25f && t.outputGain == 0.25f && t.mix == 0.25f && t.feedback == 0.25f;
        const bool allLoud =
            t.inputGain == 2.25f && t.outputGain == 2.25f && t.mix == 0.75f && t.feedback == 0.75f;
        mixed += allQuiet || allLoud ? 0 : 1;
        switches += allLoud != wasLoud ? 1 : 0;
        wasLoud = allLoud;
    }
    stop = true;
    host.join();
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(switches, 0); // the blocks did take program changes
}
