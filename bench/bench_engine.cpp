// Engine cost per stereo frame at 44.1 kHz in blocks of 512, on fixed stereo noise,
// beside a plain delay line as the floor of what any delay costs.
#include "FakeHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace
{
constexpr int kBlock = 512;
constexpr long kFrames = 44100;

// TARVA_BENCH_PLUGIN names another build's library, so that two builds can be measured
// by the same binary, one after the other.
PluginLibrary& library()
{
    const char* other = std::getenv("TARVA_BENCH_PLUGIN");
    static PluginLibrary lib(other != nullptr ? other : TARVA_PLUGIN_PATH);
    return lib;
}

std::vector<float> noise(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
    std::vector<float> v(kFrames);
    for (auto& x : v)
        x = dist(random);
    return v;
}

// Selects a program the way a host restores a project: the chunk's current program.
void selectProgram(PluginInstance& plugin, int program)
{
    auto chunk = plugin.getChunk();
    const auto index = static_cast<std::uint32_t>(program);
    std::memcpy(chunk.data() + 12, &index, sizeof index);
    plugin.setChunk(chunk);
}

void BM_Program(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, library().entry());
    selectProgram(plugin, static_cast<int>(state.range(0)));
    plugin.start(44100.0f, kBlock);
    const auto left = noise(1), right = noise(2);
    std::vector<float> outL(kFrames), outR(kFrames);
    for (auto _ : state)
    {
        plugin.processInBlocks(left.data(), right.data(), outL.data(), outR.data(), kFrames,
                               kBlock);
        benchmark::DoNotOptimize(outL.data());
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(kFrames) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
// Every factory program: 0 "default", 8 "doubler", 11 "lezlie", 10 "deep flanger", 1 "wiper"
// and the rest.
BENCHMARK(BM_Program)->DenseRange(0, 16)->Unit(benchmark::kMillisecond);

// Silence after loud noise through the program with the most feedback: the repeats die
// away into the range where denormals would slow every operation; the cost must not rise.
void BM_SilenceAfterNoise(benchmark::State& state)
{
    FakeHost host;
    PluginInstance plugin(host, library().entry());
    selectProgram(plugin, 10); // "deep flanger"
    plugin.start(44100.0f, kBlock);
    const auto left = noise(1), right = noise(2);
    const std::vector<float> zeros(kFrames, 0.0f);
    std::vector<float> outL(kFrames), outR(kFrames);
    plugin.processInBlocks(left.data(), right.data(), outL.data(), outR.data(), kFrames, kBlock);
    // A minute of silence first, so the tail has decayed as far as it ever will.
    for (int second = 0; second < 60; ++second)
        plugin.processInBlocks(zeros.data(), zeros.data(), outL.data(), outR.data(), kFrames,
                               kBlock);
    for (auto _ : state)
    {
        plugin.processInBlocks(zeros.data(), zeros.data(), outL.data(), outR.data(), kFrames,
                               kBlock);
        benchmark::DoNotOptimize(outL.data());
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(kFrames) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SilenceAfterNoise)->Unit(benchmark::kMillisecond);

// The floor: a stereo delay line with feedback and a dry/wet mix, nothing else.
void BM_PlainDelayBaseline(benchmark::State& state)
{
    const auto left = noise(1), right = noise(2);
    std::vector<float> outL(kFrames), outR(kFrames);
    std::vector<float> memL(88200, 0.0f), memR(88200, 0.0f);
    std::size_t pos = 0;
    for (auto _ : state)
    {
        for (long i = 0; i < kFrames; ++i)
        {
            const float dl = memL[pos], dr = memR[pos];
            memL[pos] = left[i] + 0.5f * dl;
            memR[pos] = right[i] + 0.5f * dr;
            outL[i] = 0.5f * (left[i] + dl);
            outR[i] = 0.5f * (right[i] + dr);
            if (++pos == memL.size())
                pos = 0;
        }
        benchmark::DoNotOptimize(outL.data());
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(kFrames) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlainDelayBaseline)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
