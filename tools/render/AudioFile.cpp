#include "AudioFile.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>

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

std::string writeAudioFile(const std::string& path, const AudioData& audio)
{
    const std::string ext = extensionOf(path);
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = audio.channels;
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
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return "cannot write " + path + ": " + sf_strerror(nullptr);
    // No PEAK chunk: it carries the time of writing, and the same render should give the
    // same bytes.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    // Integer and lossy formats clip; keep the float formats exactly as rendered.
    if ((info.format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written = sf_writef_float(file, audio.frames.data(), audio.frameCount());
    const int closed = sf_close(file);
    if (written != audio.frameCount() || closed != 0)
        return "could not write all of " + path;
    return "";
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
