#include "DemoPlayer.h"

#include "DemoPhrase.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

double threadCpuTime() noexcept
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0.0;
    const auto ticks = [](const FILETIME& t) // 100 ns each
    { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}
#else
double threadCpuTime() noexcept
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
#endif

DemoPlayer::DemoPlayer(AEffect* effect, EditorHost& host, int sampleRate, int blockSize)
    : effect(effect), host(host), sampleRate(sampleRate), blockSize(blockSize),
      outLeft(static_cast<std::size_t>(blockSize)), outRight(static_cast<std::size_t>(blockSize))
{
    const AudioData demo = makeDemoPhrase(sampleRate);
    const auto frames = static_cast<std::size_t>(demo.frameCount());
    const auto channels = static_cast<std::size_t>(demo.channels);
    left.resize(frames);
    right.resize(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        left[i] = demo.frames[i * channels];
        right[i] = demo.frames[i * channels + (channels > 1 ? 1 : 0)];
    }
}

void DemoPlayer::start()
{
    if (running.exchange(true))
        return;
    thread = std::thread(&DemoPlayer::run, this);
}

void DemoPlayer::stop()
{
    running.store(false);
    if (thread.joinable())
        thread.join();
}

void DemoPlayer::playBlock()
{
    // The block never crosses the loop point: the last one before it is shorter.
    const auto count = static_cast<VstInt32>(
        std::min<std::size_t>(static_cast<std::size_t>(blockSize), left.size() - position));
    float* inputs[2] = {left.data() + position, right.data() + position};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.setSamplePosition(transportFrames);
    effect->processReplacing(effect, inputs, outputs, count);
    transportFrames += count;
    position += static_cast<std::size_t>(count);
    if (position >= left.size())
        position = 0;
    ++blocks;
}

void DemoPlayer::run()
{
    using Clock = std::chrono::steady_clock;
    const double startCpu = threadCpuTime();
    auto due = Clock::now();
    while (running.load(std::memory_order_relaxed))
    {
        const double before = transportFrames;
        playBlock();
        // Real time: the next block is due when this one would have finished playing.
        due += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>((transportFrames - before) / sampleRate));
        const auto now = Clock::now();
        if (now - due > std::chrono::seconds(1)) // the machine stalled: do not race to catch up
            due = now;
        std::this_thread::sleep_until(due);
    }
    threadCpuSeconds = threadCpuTime() - startCpu;
}
