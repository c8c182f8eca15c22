// tarva-editor's side of the plug-in interface: answers the plug-in's callback on the
// user-interface and audio threads, reports a playing transport, and writes what the
// plug-in tells the host (automation, edit gestures, display updates) to a log.
#pragma once

#include "HostCallback.h"
#include "PluginLibrary.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

class EditorHost : public HostCallback
{
public:
    EditorHost(double sampleRate, double tempo) noexcept : sampleRate(sampleRate), tempo(tempo) {}
    ~EditorHost() override;
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    // Empty text on success. Every line is flushed at once, so that another process can
    // follow the file while the editor runs.
    std::string openLog(const std::string& path);
    // One line, from any thread.
    void log(const std::string& line);

    // The audio thread sets the transport before each block; time info reports it.
    void setSamplePosition(double frames) noexcept
    {
        samplePosition.store(frames, std::memory_order_relaxed);
    }
    // Whether the plug-in asked the host to update its display since the last call. Hosts
    // look at programs and names on their own time, not inside the plug-in's call.
    bool takeDisplayUpdate() noexcept
    {
        return displayUpdate.exchange(false, std::memory_order_relaxed);
    }
    int idleRequests() const noexcept { return idleCalls.load(std::memory_order_relaxed); }

private:
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;

    const double sampleRate;
    const double tempo;
    std::atomic<double> samplePosition{0.0};
    std::atomic<bool> displayUpdate{false};
    std::atomic<int> idleCalls{0};
    std::mutex logLock; // the host's own lock: the plug-in's threads only pass through it
    std::FILE* logFile = nullptr;
};
