// Reading and writing audio files through libsndfile, as interleaved floats.
#pragma once

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

// The format follows the extension: .wav and .aiff as 32-bit float, .flac as 24-bit,
// .ogg as Vorbis.
std::string writeAudioFile(const std::string& path, const AudioData& audio);

// Sample-rate conversion with libsamplerate's best converter.
std::string resampleAudio(AudioData& audio, int newRate);
