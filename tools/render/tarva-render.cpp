// tarva-render: a command-line host. Loads the plug-in through its entry point, exactly
// as a DAW does, and renders an audio file (or the built-in demo) through it.
#include "AudioFile.h"
#include "DemoPhrase.h"
#include "FakeHost.h"
#include "HostPrograms.h"
#include "RenderOptions.h"
#include "StreamedRender.h"
#include "presets/PluginId.h"
#include "presets/PresetRecords.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
// About a third of a second at 44.1 kHz per read and per write.
constexpr int kFramesPerFileAccess = 16384;

int fail(int code, const std::string& message)
{
    std::fprintf(stderr, "tarva-render: %s\n", message.c_str());
    return code;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int findParameter(PluginInstance& plugin, const std::string& wanted)
{
    for (VstInt32 i = 0; i < plugin.effect()->numParams; ++i)
        if (lower(plugin.parameterName(i)) == lower(wanted))
            return i;
    return -1;
}

// Reads a preset or bank file into the instance's program table; empty text on success.
std::string loadProgramsFromFile(PluginInstance& plugin, const RenderOptions& options,
                                 ProgramTable& programs)
{
    const auto chunk = plugin.getChunk();
    const auto state = readStateChunk(chunk.data(), chunk.size(), kPluginUniqueId);
    if (!state)
        return "the plug-in gave no state to start from";
    programs = state->programs;
    if (!options.presetFile.empty())
    {
        PresetRecordBytes record;
        if (readRecordFile(options.presetFile.c_str(), record) != RecordFileRead::read)
            return "cannot read " + options.presetFile;
        const auto program = readPresetRecord(record, kPluginUniqueId, false);
        if (!program)
            return options.presetFile + " is not a TARVA preset";
        programs[0] = *program;
        return "";
    }
    BankRecordBytes record;
    if (readRecordFile(options.bankFile.c_str(), record) != RecordFileRead::read)
        return "cannot read " + options.bankFile;
    const auto bank = readBankRecord(record, kPluginUniqueId, false);
    if (!bank)
        return options.bankFile + " is not a TARVA bank";
    programs = *bank;
    return "";
}

void listPrograms(PluginInstance& plugin)
{
    const auto names = programNames(plugin);
    for (std::size_t i = 0; i < names.size(); ++i)
        std::printf("%2zu  %s\n", i, names[i].c_str());
}

void listParameters(PluginInstance& plugin)
{
    std::printf("%-3s %-13s %-10s %-10s %s\n", "#", "name", "value", "display", "label");
    for (VstInt32 i = 0; i < plugin.effect()->numParams; ++i)
        std::printf("%-3d %-13s %-10.6f %-10s %s\n", i, plugin.parameterName(i).c_str(),
                    static_cast<double>(plugin.getParameter(i)), plugin.parameterDisplay(i).c_str(),
                    plugin.parameterLabel(i).c_str());
}

class Progress
{
public:
    Progress(long total, bool enabled) : total(total), enabled(enabled) {}
    void update(long done)
    {
        if (!enabled)
            return;
        const int percent = static_cast<int>(100 * done / std::max(1L, total));
        if (percent == shown)
            return;
        shown = percent;
        const int width = 40;
        const int filled = percent * width / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%",
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(width - filled), ' ').c_str(), percent);
        if (done >= total)
            std::fprintf(stderr, "\n");
    }

private:
    long total;
    bool enabled;
    int shown = -1;
};
} // namespace

int main(int argc, char** argv)
{
    RenderOptions options;
    options.plugin = TARVA_DEFAULT_PLUGIN;
    const std::string error = parseRenderOptions(argc, argv, options);
    if (options.help)
    {
        std::fputs(kRenderUsage, stdout);
        return kExitOk;
    }
    if (!error.empty())
        return fail(kExitUsage, error);

    PluginLibrary library(options.plugin);
    if (!library.isLoaded())
        return fail(kExitPlugin, library.error());
    FakeHost host;
    PluginInstance plugin(host, library.entry());
    if (!plugin)
        return fail(kExitPlugin, "the plug-in made no instance");

    if (!options.presetFile.empty() || !options.bankFile.empty())
    {
        ProgramTable programs;
        if (const std::string fileError = loadProgramsFromFile(plugin, options, programs);
            !fileError.empty())
            return fail(kExitFile, fileError);
        selectProgram(plugin, 0, &programs); // the names of a bank now answer --program
    }
    if (!options.program.empty())
    {
        const int program = findProgram(plugin, options.program);
        if (program < 0)
            return fail(kExitUsage,
                        "unknown program '" + options.program + "' (see --list-programs)");
        selectProgram(plugin, program);
    }
    for (const auto& [name, text] : options.settings)
    {
        const int index = findParameter(plugin, name);
        if (index < 0)
            return fail(kExitUsage, "unknown parameter '" + name + "' (see --list-parameters)");
        double value = 0.0;
        if (!parseNumber(text, value))
            return fail(kExitUsage, "--set " + name + ": '" + text + "' is not a number");
        plugin.setParameter(index, static_cast<float>(value));
    }
    if (options.listPrograms)
        listPrograms(plugin);
    if (options.listParameters)
        listParameters(plugin);
    if (options.listPrograms || options.listParameters)
        return kExitOk;

    // The input: the demo, a file read a block at a time, or a file resampled first.
    const bool demo = options.input.empty();
    std::unique_ptr<AudioReader> reader;
    std::string inputError;
    if (demo)
        reader =
            memoryAudioReader(makeDemoPhrase(options.sampleRate > 0 ? options.sampleRate : 44100));
    else if (options.sampleRate > 0)
    {
        AudioData audio;
        inputError = readAudioFile(options.input, audio);
        if (inputError.empty())
            inputError = resampleAudio(audio, options.sampleRate);
        if (inputError.empty())
            reader = memoryAudioReader(std::move(audio));
    }
    else
        reader = openAudioReader(options.input, inputError);
    if (!reader)
        return fail(kExitFile, inputError);

    const int rate = reader->sampleRate();
    const int channels = reader->channels();
    const double tail = options.tailSeconds >= 0.0 ? options.tailSeconds : (demo ? 4.0 : 0.0);
    const long inputFrames = reader->frameCount();
    const long frames = inputFrames + static_cast<long>(tail * rate);

    AudioWriter writer;
    if (const std::string openError = writer.open(options.output, rate, 2); !openError.empty())
        return fail(kExitFile, openError);

    host.script.tempo = options.tempo;
    host.script.sampleRate = rate;
    const VstInt32 block = options.blockSize;
    plugin.start(static_cast<float>(rate), block);

    // The file is read and written many blocks at a time, beside the processing; the plug-in
    // still gets one block per call, each with its own song position.
    const long chunk = static_cast<long>(block) * std::max(1, kFramesPerFileAccess / block);
    const auto chunkSize = static_cast<std::size_t>(chunk);
    std::vector<float> left(chunkSize), right(chunkSize), outL(chunkSize), outR(chunkSize);
    const double beatsPerFrame = options.tempo / 60.0 / rate;
    const auto processChunk = [&](const float* in, long got, long count, long start, float* out)
    {
        // A mono file feeds both plug-in inputs.
        for (long i = 0; i < count; ++i)
        {
            const auto frame = static_cast<std::size_t>(i);
            const std::size_t at = frame * static_cast<std::size_t>(channels);
            left[frame] = i < got ? in[at] : 0.0f;
            right[frame] = i < got ? in[channels > 1 ? at + 1 : at] : 0.0f;
        }
        for (long offset = 0; offset < count; offset += block)
        {
            const auto frame = static_cast<std::size_t>(offset);
            host.script.ppqPos =
                options.position + static_cast<double>(start + offset) * beatsPerFrame;
            plugin.processInBlocks(&left[frame], &right[frame], &outL[frame], &outR[frame],
                                   std::min<long>(block, count - offset), block);
        }
        for (long i = 0; i < count; ++i)
        {
            const auto frame = static_cast<std::size_t>(i);
            out[2 * frame] = outL[frame];
            out[2 * frame + 1] = outR[frame];
        }
    };
    const auto started = std::chrono::steady_clock::now();
    Progress progress(frames, !options.quiet && isatty(STDERR_FILENO) && frames > 5L * rate);
    // A failed write ends the render early; closing the file reports it.
    streamChunks(*reader, writer, frames, chunk, processChunk,
                 [&](long done) { progress.update(done); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    plugin.suspend();
    plugin.close();
    if (const std::string writeError = writer.close(); !writeError.empty())
        return fail(kExitFile, writeError);

    if (!options.quiet)
        std::fprintf(stderr, "tarva-render: %s -> %s (%.1f s of audio, %.0fx real time)\n",
                     demo ? "demo phrase" : options.input.c_str(), options.output.c_str(),
                     static_cast<double>(frames) / rate,
                     seconds > 0.0 ? static_cast<double>(frames) / rate / seconds : 0.0);
    return kExitOk;
}
