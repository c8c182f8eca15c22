#include "DemoPhrase.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// A small deterministic noise source, so every render of the demo is identical.
struct Noise
{
    std::uint32_t state = 0x12345678u;
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }
};

// A plucked string: a noise burst circulating in a damped delay line.
void pluck(std::vector<float>& out, int channels, int rate, long start, double hz, float gain,
           float pan, Noise& noise)
{
    const auto period = static_cast<std::size_t>(rate / hz);
    std::vector<float> line(period);
    for (auto& v : line)
        v = noise.next() * gain;
    const long length = static_cast<long>(1.5 * rate);
    std::size_t pos = 0;
    for (long i = 0; i < length; ++i)
    {
        const long frame = start + i;
        if (frame * channels >= static_cast<long>(out.size()))
            break;
        const std::size_t nextPos = (pos + 1) % period;
        const float v = line[pos];
        line[pos] = 0.498f * (v + line[nextPos]);
        pos = nextPos;
        out[static_cast<std::size_t>(frame * channels)] += v * (1.0f - pan);
        out[static_cast<std::size_t>(frame * channels + 1)] += v * pan;
    }
}

void kick(std::vector<float>& out, int channels, int rate, long start)
{
    const long length = rate / 4;
    double phase = 0.0;
    for (long i = 0; i < length; ++i)
    {
        const long frame = start + i;
        if (frame * channels >= static_cast<long>(out.size()))
            break;
        const double t = static_cast<double>(i) / rate;
        phase += 2.0 * kPi * (50.0 + 120.0 * std::exp(-t * 30.0)) / rate;
        const auto v = static_cast<float>(0.8 * std::sin(phase) * std::exp(-t * 12.0));
        out[static_cast<std::size_t>(frame * channels)] += v;
        out[static_cast<std::size_t>(frame * channels + 1)] += v;
    }
}

void hat(std::vector<float>& out, int channels, int rate, long start, Noise& noise)
{
    const long length = rate / 20;
    float previous = 0.0f;
    for (long i = 0; i < length; ++i)
    {
        const long frame = start + i;
        if (frame * channels >= static_cast<long>(out.size()))
            break;
        const float white = noise.next();
        const float bright = white - previous; // a crude high-pass
        previous = white;
        const auto v = static_cast<float>(0.25 * bright * std::exp(-60.0 * i / rate));
        out[static_cast<std::size_t>(frame * channels)] += 0.6f * v;
        out[static_cast<std::size_t>(frame * channels + 1)] += v;
    }
}
} // namespace

AudioData makeDemoPhrase(int sampleRate)
{
    AudioData audio;
    audio.sampleRate = sampleRate;
    audio.channels = 2;
    const double beat = 0.5;                                            // 120 BPM
    const long frames = static_cast<long>(4.0 * 4 * beat * sampleRate); // four bars
    audio.frames.assign(static_cast<std::size_t>(frames * 2), 0.0f);
    Noise noise;

    const double notes[] = {220.0, 261.63, 329.63, 392.0, 329.63, 261.63, 293.66, 246.94};
    for (int step = 0; step < 16; ++step)
    {
        const auto at = static_cast<long>(step * beat * sampleRate);
        if (step % 4 == 0)
            kick(audio.frames, 2, sampleRate, at);
        hat(audio.frames, 2, sampleRate, at + static_cast<long>(beat * sampleRate / 2), noise);
        if (step % 2 == 0)
            pluck(audio.frames, 2, sampleRate, at, notes[(step / 2) % 8], 0.5f,
                  (step / 2) % 2 == 0 ? 0.3f : 0.7f, noise);
    }
    return audio;
}
