// tarva-render-raw: renders raw stereo float32 through a plug-in library, with nothing
// but the host library, so the same program builds for every platform the plug-in does.
// Used to compare what the Windows DLL and the Linux library make of the same input.
//
//   tarva-render-raw PLUGIN PROGRAM BLOCK IN.f32 OUT.f32 [RATE]
//
// IN and OUT hold interleaved stereo 32-bit floats in this machine's byte order, at
// RATE Hz (44100 unless given). PROGRAM is a factory program number (0-16). IN may be
// noise:SECONDS for a fixed stereo noise that every platform makes bit for bit alike.
#include "FakeHost.h"
#include "RawFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
// Uniform noise in [-0.5, 0.5) from a 32-bit congruential generator: integers and one
// exact scaling, so every platform makes the same samples.
std::vector<float> fixedNoise(long frames)
{
    std::vector<float> samples(static_cast<std::size_t>(2 * frames));
    std::uint32_t state = 0x2545f491u;
    for (auto& v : samples)
    {
        state = state * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<std::int32_t>(state >> 8) - (1 << 23)) / 16777216.0f;
    }
    return samples;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6 && argc != 7)
    {
        std::fprintf(stderr,
                     "usage: tarva-render-raw PLUGIN PROGRAM BLOCK IN.f32 OUT.f32 [RATE]\n");
        return 1;
    }
    const int program = std::atoi(argv[2]);
    const int block = std::atoi(argv[3]);
    const int rate = argc == 7 ? std::atoi(argv[6]) : 44100;
    if (rate < 1)
    {
        std::fprintf(stderr, "tarva-render-raw: bad rate %s\n", argv[6]);
        return 1;
    }
    std::vector<float> input;
    const bool noise = std::strncmp(argv[4], "noise:", 6) == 0;
    if (noise)
        input = fixedNoise(static_cast<long>(std::atof(argv[4] + 6) * 44100.0));
    if (block < 1 || (!noise && !readRawFile(argv[4], input)))
    {
        std::fprintf(stderr, "tarva-render-raw: cannot read %s\n", argv[4]);
        return 2;
    }
    PluginLibrary library(argv[1]);
    FakeHost host;
    host.script.timeInfoAvailable = true;
    host.script.sampleRate = rate;
    PluginInstance plugin(host, library.entry());
    if (!plugin)
    {
        std::fprintf(stderr, "tarva-render-raw: %s\n", library.error().c_str());
        return 3;
    }
    // Programs are reached through the state chunk's current-program field.
    auto chunk = plugin.getChunk();
    const auto index = static_cast<std::uint32_t>(program);
    std::memcpy(chunk.data() + 12, &index, sizeof index);
    plugin.setChunk(chunk);
    plugin.start(static_cast<float>(rate), block);

    const long frames = static_cast<long>(input.size() / 2);
    std::vector<float> left(static_cast<std::size_t>(frames)), right(left.size());
    for (long i = 0; i < frames; ++i)
    {
        left[static_cast<std::size_t>(i)] = input[static_cast<std::size_t>(2 * i)];
        right[static_cast<std::size_t>(i)] = input[static_cast<std::size_t>(2 * i + 1)];
    }
    std::vector<float> outL(left.size()), outR(left.size());
    plugin.processInBlocks(left.data(), right.data(), outL.data(), outR.data(), frames, block);
    std::vector<float> output(input.size());
    for (long i = 0; i < frames; ++i)
    {
        output[static_cast<std::size_t>(2 * i)] = outL[static_cast<std::size_t>(i)];
        output[static_cast<std::size_t>(2 * i + 1)] = outR[static_cast<std::size_t>(i)];
    }
    if (!writeRawFile(argv[5], output))
    {
        std::fprintf(stderr, "tarva-render-raw: cannot write %s\n", argv[5]);
        return 2;
    }
    return 0;
}
