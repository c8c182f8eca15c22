#include "AudioFile.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

namespace
{
std::string extensionOf(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}
} // namespace

std::string readAudioFile(const std::string& path, AudioData& audio)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return "cannot read " + path + ": " + sf_strerror(nullptr);
    audio.sampleRate = info.samplerate;
    audio.channels = info.channels;
    audio.frames.assign(
        static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels), 0.0f);
    const sf_count_t read = sf_readf_float(file, audio.frames.data(), info.frames);
    sf_close(file);
    audio.frames.resize(static_cast<std::size_t>(read) * static_cast<std::size_t>(info.channels));
    if (info.channels < 1)
        return path + " has no audio channels";
    return "";
}

namespace
{
class FileReader final : public AudioReader
{
public:
    FileReader(SNDFILE* file, const SF_INFO& info) : file(file), info(info) {}
    ~FileReader() override { sf_close(file); }
    int sampleRate() const override { return info.samplerate; }
    int channels() const override { return info.channels; }
    long frameCount() const override { return static_cast<long>(info.frames); }
    long read(float* interleaved, long frames) override
    {
        return static_cast<long>(sf_readf_float(file, interleaved, frames));
    }

private:
    SNDFILE* file;
    SF_INFO info;
};

class MemoryReader final : public AudioReader
{
public:
    explicit MemoryReader(AudioData audio) : audio(std::move(audio)) {}
    int sampleRate() const override { return audio.sampleRate; }
    int channels() const override { return audio.channels; }
    long frameCount() const override { return audio.frameCount(); }
    long read(float* interleaved, long frames) override
    {
        const long count = std::min(frames, audio.frameCount() - position);
        const auto channels = static_cast<std::size_t>(audio.channels);
        std::copy_n(audio.frames.data() + static_cast<std::size_t>(position) * channels,
                    static_cast<std::size_t>(count) * channels, interleaved);
        position += count;
        return count;
    }

private:
    AudioData audio;
    long position = 0;
};
} // namespace

std::unique_ptr<AudioReader> openAudioReader(const std::string& path, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
    {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1)
    {
        sf_close(file);
        error = path + " has no audio channels";
        return nullptr;
    }
    return std::make_unique<FileReader>(file, info);
}

std::unique_ptr<AudioReader> memoryAudioReader(AudioData audio)
{
    return std::make_unique<MemoryReader>(std::move(audio));
}

AudioWriter::~AudioWriter()
{
    close();
}

std::string AudioWriter::open(const std::string& outputPath, int sampleRate, int channels)
{
    path = outputPath;
    const std::string ext = extensionOf(path);
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    if (ext == "wav")
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    else if (ext == "aif" || ext == "aiff")
        info.format = SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
    else if (ext == "flac")
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    else if (ext == "ogg")
        info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    else
        return "unknown output format '." + ext + "' (use .wav, .flac, .aiff or .ogg)";
    file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return "cannot write " + path + ": " + sf_strerror(nullptr);
    // No PEAK chunk: it carries the time of writing, and the same render should give the
    // same bytes.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    // Integer and lossy formats clip; keep the float formats exactly as rendered.
    if ((info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return "";
}

bool AudioWriter::write(const float* interleaved, long frames)
{
    if (file == nullptr || sf_writef_float(file, interleaved, frames) != frames)
        failed = true;
    return !failed;
}

std::string AudioWriter::close()
{
    if (file == nullptr)
        return "";
    if (sf_close(file) != 0)
        failed = true;
    file = nullptr;
    return failed ? "could not write all of " + path : "";
}

std::string resampleAudio(AudioData& audio, int newRate)
{
    if (newRate == audio.sampleRate || audio.frames.empty())
    {
        audio.sampleRate = newRate;
        return "";
    }
    const double ratio = static_cast<double>(newRate) / audio.sampleRate;
    const long outFrames = static_cast<long>(std::ceil(audio.frameCount() * ratio)) + 1;
    std::vector<float> out(static_cast<std::size_t>(outFrames) *
                           static_cast<std::size_t>(audio.channels));
    SRC_DATA data{};
    data.data_in = audio.frames.data();
    data.input_frames = audio.frameCount();
    data.data_out = out.data();
    data.output_frames = outFrames;
    data.src_ratio = ratio;
    const int error = src_simple(&data, SRC_SINC_BEST_QUALITY, audio.channels);
    if (error != 0)
        return std::string("resampling failed: ") + src_strerror(error);
    out.resize(static_cast<std::size_t>(data.output_frames_gen) *
               static_cast<std::size_t>(audio.channels));
    audio.frames = std::move(out);
    audio.sampleRate = newRate;
    return "";
}
