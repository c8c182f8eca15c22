// The editor as a host drives it, through the dispatcher, with the offscreen back end:
// opening and closing the window, an idle pass with nothing to show, and an idle pass
// while audio runs and the meter, lamps, digits and beat flash change.
//
// The instance is made from the plug-in code linked into this program, so that the
// offscreen frame can be given a mouse position as a window would report one: without
// it the editor's idle stops before its displays, and the figures would flatter it.
#include "DemoPhrase.h"
#include "FakeHost.h"
#include "editor/Editor.h"
#include "gui/AEffGUIEditor.h"
#include "gui/platform/OffscreenFrame.h"

#include <benchmark/benchmark.h>

#include <chrono>

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

namespace
{
constexpr int kSampleRate = 44100;
constexpr int kBlock = 490; // three blocks per idle pass: 30 passes a second

OffscreenFrame* offscreenOf(CFrame* frame)
{
    return frame ? dynamic_cast<OffscreenFrame*>(frame->getPlatformFrame()) : nullptr;
}

CFrame* editorFrame(PluginInstance& plugin)
{
    auto* effect = static_cast<AudioEffect*>(plugin.effect()->object);
    auto* editor = dynamic_cast<AEffGUIEditor*>(effect->getEditor());
    return editor != nullptr ? editor->getFrame() : nullptr;
}

// Opens the editor offscreen with the mouse over the background, as a window would have
// it, and lets the first passes fill and draw every display.
bool openEditor(PluginInstance& plugin)
{
    if (plugin.dispatch(effEditOpen, 0, 0, nullptr) == 0)
        return false;
    OffscreenFrame* offscreen = offscreenOf(editorFrame(plugin));
    if (offscreen == nullptr)
        return false;
    offscreen->setMousePosition(CPoint(2, 2));
    for (int i = 0; i < 4; ++i)
        plugin.dispatch(effEditIdle);
    return true;
}

// The editor's clock in the audio benchmark: a thirtieth of a second per pass, as at a
// host's 30 Hz, so that the meter falls between passes as it would on screen.
std::uint32_t benchTicks = 0;
std::uint32_t benchTickCount()
{
    return benchTicks;
}

// The demo phrase, looped, through the plug-in with the transport moving.
class Playback
{
public:
    Playback(PluginInstance& plugin, FakeHost& host) : plugin(plugin), host(host)
    {
        const AudioData demo = makeDemoPhrase(kSampleRate);
        for (long i = 0; i < demo.frameCount(); ++i)
        {
            left.push_back(demo.frames[static_cast<std::size_t>(i * demo.channels)]);
            right.push_back(
                demo.frames[static_cast<std::size_t>(i * demo.channels + demo.channels - 1)]);
        }
    }
    void play(int frames)
    {
        for (int done = 0; done < frames; done += kBlock)
        {
            if (position + kBlock > left.size())
                position = 0;
            host.script.ppqPos = transport * host.script.tempo / 60.0 / kSampleRate;
            plugin.processInBlocks(left.data() + position, right.data() + position, outL, outR,
                                   kBlock, kBlock);
            position += kBlock;
            transport += kBlock;
        }
    }

private:
    PluginInstance& plugin;
    FakeHost& host;
    std::vector<float> left, right;
    float outL[kBlock] = {}, outR[kBlock] = {};
    std::size_t position = 0;
    double transport = 0.0;
};
} // namespace

static void editorOpenClose(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, &VSTPluginMain);
    plugin.start(kSampleRate, kBlock);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(plugin.dispatch(effEditOpen, 0, 0, nullptr));
        plugin.dispatch(effEditClose);
    }
}
BENCHMARK(editorOpenClose)->Unit(benchmark::kMillisecond);

static void editorIdleNothingChanged(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, &VSTPluginMain);
    plugin.start(kSampleRate, kBlock);
    if (!openEditor(plugin))
    {
        state.SkipWithError("the editor did not open");
        return;
    }
    for (auto _ : state)
        plugin.dispatch(effEditIdle);
    plugin.dispatch(effEditClose);
}
BENCHMARK(editorIdleNothingChanged)->Unit(benchmark::kMicrosecond);

// Only the idle call is timed; the audio between passes is not.
static void editorIdleWithAudio(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, &VSTPluginMain);
    plugin.start(kSampleRate, kBlock);
    if (!openEditor(plugin))
    {
        state.SkipWithError("the editor did not open");
        return;
    }
    auto* effect = static_cast<AudioEffect*>(plugin.effect()->object);
    static_cast<Editor*>(effect->getEditor())->setTickSource(benchTickCount);
    Playback playback(plugin, host);
    OffscreenFrame* offscreen = offscreenOf(editorFrame(plugin));
    offscreen->clearPresented();
    for (auto _ : state)
    {
        playback.play(kSampleRate / 30);
        benchTicks += 33;
        const auto start = std::chrono::steady_clock::now();
        plugin.dispatch(effEditIdle);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    // What changed on screen, to show the passes were not idle in name only.
    double pixels = 0;
    for (const auto& rect : offscreen->presentedRects())
        pixels += rect.getWidth() * rect.getHeight();
    state.counters["rects"] =
        benchmark::Counter(static_cast<double>(offscreen->presentedRects().size()),
                           benchmark::Counter::kAvgIterations);
    state.counters["pixels"] = benchmark::Counter(pixels, benchmark::Counter::kAvgIterations);
    plugin.dispatch(effEditClose);
}
BENCHMARK(editorIdleWithAudio)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
