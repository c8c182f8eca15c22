// One plug-in instance driven as a busy DAW drives it, from three threads at once, for
// the given number of seconds (default 30), to be run under ThreadSanitizer:
//   audio:  blocks of varying size with MIDI controllers, some of them being learned;
//   host:   automation of every parameter, program changes, the state saved and restored
//           as bank and as program, the program renamed;
//   UI:     the editor open offscreen and idled at 30 Hz, closed and reopened, its knobs,
//           program menu, rocker and learn and clear switches used.
// Exits 0 when every thread ran; the sanitizer's own exit code says whether it saw a race.
#include "ThreadedHost.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

struct Rounds
{
    std::atomic<long> audio{0};
    std::atomic<long> host{0};
    std::atomic<long> ui{0};
};

void audioThread(PluginInstance& plugin, const std::atomic<bool>& stop, Rounds& rounds)
{
    constexpr VstInt32 kBlockSizes[] = {64, 1, 512, 17, 256, 1024, 128, 333};
    std::vector<float> in(1024);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<float>((i * 37) % 101) / 101.0f - 0.5f;
    std::vector<float> outL(1024);
    std::vector<float> outR(1024);
    MidiBlock midi;
    for (long round = 0; !stop.load(std::memory_order_relaxed); ++round)
    {
        const VstInt32 frames = kBlockSizes[round % std::size(kBlockSizes)];
        midi.clear();
        midi.controlChange(0, kBoundControllers[round % std::size(kBoundControllers)],
                           static_cast<int>(round % 128));
        // Unbound controllers: a learn in progress takes them.
        midi.controlChange(1, 20 + static_cast<int>(round % 8), static_cast<int>(round * 5 % 128),
                           frames / 2);
        plugin.dispatch(effProcessEvents, 0, 0, midi.events());
        float* inputs[] = {in.data(), in.data()};
        float* outputs[] = {outL.data(), outR.data()};
        plugin.process(inputs, outputs, frames);
        rounds.audio.fetch_add(1, std::memory_order_relaxed);
        if (round % 16 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void hostThread(PluginInstance& plugin, const std::vector<std::byte>& factory,
                const std::atomic<bool>& stop, Rounds& rounds)
{
    const std::vector<std::byte> distinct = withDistinctPrograms(factory);
    for (long round = 0; !stop.load(std::memory_order_relaxed); ++round)
    {
        for (int index = 0; index < kNumParameters; ++index)
        {
            const float value = plugin.getParameter(index);
            // Controls sweep; a controller assignment is sometimes set to what it is.
            if (isControl(index))
                plugin.setParameter(index,
                                    static_cast<float>((round * 13 + index * 7) % 64) / 63.0f);
            else if (round % 4 == 0)
                plugin.setParameter(index, value);
        }
        char text[256] = {};
        plugin.dispatch(effGetParamDisplay, static_cast<VstInt32>(round % kNumParameters), 0, text);
        switch (round % 6)
        {
        case 0: // a program change: the state with another current program
            plugin.setChunk(withCurrentProgram(round % 12 == 0 ? distinct : factory,
                                               static_cast<std::int32_t>(round % kNumPrograms)));
            break;
        case 1: plugin.getChunk(false); break;
        case 2: plugin.setChunk(plugin.getChunk(true), true); break;
        case 3:
        {
            char name[32];
            std::snprintf(name, sizeof name, "Stress %ld", round);
            plugin.dispatch(effSetProgramName, 0, 0, name);
            plugin.programName();
            break;
        }
        case 4: plugin.setChunk(plugin.getChunk(false), false); break;
        default: plugin.programNameIndexed(static_cast<VstInt32>(round % kNumPrograms)); break;
        }
        rounds.host.fetch_add(1, std::memory_order_relaxed);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void uiThread(PluginInstance& plugin, const std::atomic<bool>& stop, Rounds& rounds)
{
    constexpr auto kIdlePeriod = std::chrono::milliseconds(33);
    constexpr long kIdlesPerOpening = 60; // about two seconds open
    long round = 0;
    while (!stop.load(std::memory_order_relaxed))
    {
        if (plugin.dispatch(effEditOpen, 0, 0, nullptr) != 1)
        {
            std::fprintf(stderr, "stress: the editor did not open\n");
            std::abort();
        }
        CFrame* frame = editorFrame(plugin.effect());
        auto next = Clock::now();
        for (long i = 0; i < kIdlesPerOpening && !stop.load(std::memory_order_relaxed);
             ++i, ++round)
        {
            switch (round % 8)
            {
            case 0:
                if (CControl* rocker = controlWithTag(frame, kRockerTag))
                {
                    operate(rocker, round % 16 == 0 ? 1.0f : -1.0f);
                    rocker->setValue(0.0f);
                }
                break;
            case 1:
                operate(controlWithTag(frame, kProgramMenuTag),
                        static_cast<float>(round % kNumPrograms));
                break;
            case 2: operate(controlWithTag(frame, kLearnTag), 1.0f); break;
            case 4: operate(controlWithTag(frame, kClearTag), 1.0f); break;
            case 5: operate(controlWithTag(frame, kLearnTag), 0.0f); break;
            case 6: // a knob turned by the user: "Fbck"
                operate(controlWithTag(frame, 6), static_cast<float>(round % 10) / 10.0f);
                break;
            default: break;
            }
            plugin.dispatch(effEditIdle);
            rounds.ui.fetch_add(1, std::memory_order_relaxed);
            next += kIdlePeriod;
            std::this_thread::sleep_until(next);
        }
        plugin.dispatch(effEditClose);
    }
}
} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
    if (!(seconds > 0.0))
    {
        std::fprintf(stderr, "usage: tarva-stress [seconds]\n");
        return 2;
    }
    ThreadedHost host;
    PluginInstance plugin(host.create(linkedEntry()));
    if (!plugin)
    {
        std::fprintf(stderr, "stress: the plug-in made no instance\n");
        return 1;
    }
    plugin.start(44100.0f, 1024);
    const std::vector<std::byte> factory = plugin.getChunk();

    std::atomic<bool> stop{false};
    Rounds rounds;
    std::thread audio(audioThread, std::ref(plugin), std::cref(stop), std::ref(rounds));
    std::thread worker(hostThread, std::ref(plugin), std::cref(factory), std::cref(stop),
                       std::ref(rounds));
    std::thread ui(uiThread, std::ref(plugin), std::cref(stop), std::ref(rounds));
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    audio.join();
    worker.join();
    ui.join();
    plugin.suspend();
    plugin.close();

    std::printf("stress: %.0f s, %ld audio blocks, %ld host rounds, %ld editor idles\n", seconds,
                rounds.audio.load(), rounds.host.load(), rounds.ui.load());
    return rounds.audio > 0 && rounds.host > 0 && rounds.ui > 0 ? 0 : 1;
}
