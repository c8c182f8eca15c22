// Reading and writing audio files through libsndfile, as interleaved floats.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct AudioData
{
    int sampleRate = 44100;
    int channels = 2;
    std::vector<float> frames; // interleaved
    long frameCount() const
    {
        return channels > 0 ? static_cast<long>(frames.size()) / channels : 0;
    }
};

// Empty error text on success.
std::string readAudioFile(const std::string& path, AudioData& audio);

// Interleaved frames in order, from a file or from memory, a block at a time.
class AudioReader
{
public:
    virtual ~AudioReader() = default;
    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    virtual long frameCount() const = 0;
    // Reads up to frames frames; answers how many came.
    virtual long read(float* interleaved, long frames) = 0;
};

// Null and an error text when the file cannot be opened.
std::unique_ptr<AudioReader> openAudioReader(const std::string& path, std::string& error);
std::unique_ptr<AudioReader> memoryAudioReader(AudioData audio);

struct sf_private_tag;

// Writes interleaved frames to a file whose format follows the extension: .wav and .aiff
// as 32-bit float, .flac as 24-bit, .ogg as Vorbis.
class AudioWriter
{
public:
    ~AudioWriter();
    // Empty text on success.
    std::string open(const std::string& path, int sampleRate, int channels);
    bool write(const float* interleaved, long frames);
    std::string close(); // empty text when everything reached the file

private:
    sf_private_tag* file = nullptr; // libsndfile's SNDFILE
    std::string path;
    bool failed = false;
};

// Sample-rate conversion with libsamplerate's best converter.
std::string resampleAudio(AudioData& audio, int newRate);
