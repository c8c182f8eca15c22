// The audio side of tarva-editor: a thread that plays the demo phrase, over and over,
// through the plug-in's processReplacing in blocks at the pace of real time, with the
// transport advancing, as a host's audio thread does while its user looks at an editor.
// The output is discarded.
#pragma once

#include "EditorHost.h"

#include <atomic>
#include <thread>
#include <vector>

class DemoPlayer
{
public:
    DemoPlayer(AEffect* effect, EditorHost& host, int sampleRate, int blockSize);
    ~DemoPlayer() { stop(); }
    DemoPlayer(const DemoPlayer&) = delete;
    DemoPlayer& operator=(const DemoPlayer&) = delete;

    void start();
    // Returns once the current block is done; the plug-in is not called again.
    void stop();

    // Plays one block now, without waiting: for a caller that drives the pace itself.
    void playBlock();
    // CPU time the playing thread used, in seconds; valid after stop().
    double cpuSeconds() const noexcept { return threadCpuSeconds; }
    long blocksPlayed() const noexcept { return blocks; }

private:
    void run();

    AEffect* effect;
    EditorHost& host;
    const int sampleRate;
    const int blockSize;
    std::vector<float> left, right; // the demo, looped
    std::vector<float> outLeft, outRight;
    std::size_t position = 0;
    double transportFrames = 0.0;
    long blocks = 0;
    double threadCpuSeconds = 0.0;
    std::atomic<bool> running{false};
    std::thread thread;
};

// CPU time the calling thread has used so far, in seconds.
double threadCpuTime() noexcept;
