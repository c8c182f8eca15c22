// What a host pays per instance when it scans, opens or restores the plug-in.
#include "FakeHost.h"

#include "editor/Editor.h"
#include "effect/QEL.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
PluginLibrary& library()
{
    static PluginLibrary lib(TARVA_PLUGIN_PATH);
    return lib;
}

// Entry point, effOpen, effClose: a plug-in scan.
void BM_CreateOpenClose(benchmark::State& state)
{
    FakeHost host;
    const VstEntryProc entry = library().entry();
    for (auto _ : state)
    {
        AEffect* fx = host.create(entry);
        fx->dispatcher(fx, effOpen, 0, 0, nullptr, 0.0f);
        benchmark::DoNotOptimize(fx->dispatcher(fx, effClose, 0, 0, nullptr, 0.0f));
    }
}
BENCHMARK(BM_CreateOpenClose)->Unit(benchmark::kMicrosecond);

// A project reload: a new instance started at 48 kHz and given its saved chunk.
void BM_CreateStartRestoreClose(benchmark::State& state)
{
    FakeHost host;
    const VstEntryProc entry = library().entry();
    PluginInstance source(host, entry);
    const auto chunk = source.getChunk();
    for (auto _ : state)
    {
        PluginInstance plugin(host, entry);
        plugin.start(48000.0f, 512);
        benchmark::DoNotOptimize(plugin.setChunk(chunk));
    }
}
BENCHMARK(BM_CreateStartRestoreClose)->Unit(benchmark::kMicrosecond);

// Chunk save and load, which hosts do on every project save and undo step.
void BM_ChunkRoundTrip(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, library().entry());
    for (auto _ : state)
    {
        void* data = nullptr;
        const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
        benchmark::DoNotOptimize(plugin.dispatch(effSetChunk, 0, size, data));
    }
}
BENCHMARK(BM_ChunkRoundTrip)->Unit(benchmark::kMicrosecond);

// One automation value from the host, the audio thread's share of a parameter change.
void BM_SetParameter(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, library().entry());
    AEffect* fx = plugin.effect();
    float v = 0.0f;
    for (auto _ : state)
    {
        fx->setParameter(fx, 6 /* Fbck */, v);
        v = v > 1.0f ? 0.0f : v + 0.001f;
    }
}
BENCHMARK(BM_SetParameter);
} // namespace

int main(int argc, char** argv)
{
    // Memory besides the delay lines: the effect object and its editor object.
    std::printf("effect object %zu bytes, editor object %zu bytes\n", sizeof(QEL), sizeof(Editor));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
