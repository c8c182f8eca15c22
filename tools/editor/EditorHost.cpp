#include "EditorHost.h"

#include <cerrno>
#include <cstring>

namespace
{
std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value)); // the float exactly
    return text;
}
} // namespace

EditorHost::~EditorHost()
{
    if (logFile != nullptr)
        std::fclose(logFile);
}

std::string EditorHost::openLog(const std::string& path)
{
    // Binary: lines end in a plain newline on Windows too, as the scripts reading it expect.
    logFile = std::fopen(path.c_str(), "wb");
    if (logFile == nullptr)
        return "cannot write " + path + ": " + std::strerror(errno);
    return "";
}

void EditorHost::log(const std::string& line)
{
    const std::lock_guard<std::mutex> lock(logLock);
    if (logFile == nullptr)
        return;
    std::fputs(line.c_str(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

VstIntPtr EditorHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
    switch (opcode)
    {
    case audioMasterVersion: return 2400;
    case audioMasterAutomate:
        log("automate " + std::to_string(index) + " " + number(opt));
        return 0;
    case audioMasterBeginEdit: log("beginEdit " + std::to_string(index)); return 1;
    case audioMasterEndEdit: log("endEdit " + std::to_string(index)); return 1;
    case audioMasterUpdateDisplay:
        log("updateDisplay");
        displayUpdate.store(true, std::memory_order_relaxed);
        return 1;
    case audioMasterIdle: idleCalls.fetch_add(1, std::memory_order_relaxed); return 0;
    case audioMasterWantMidi: return 1;
    case audioMasterPinConnected: return 0; // both pins connected
    case audioMasterCanDo:
        // The host sends no MIDI.
        return 0;
    case audioMasterGetTime:
    {
        // Asked on the audio thread; each thread keeps its own record so that an answer
        // is never rewritten while its reader still looks at it.
        thread_local VstTimeInfo info;
        info = VstTimeInfo{};
        info.samplePos = samplePosition.load(std::memory_order_relaxed);
        info.sampleRate = sampleRate;
        info.tempo = tempo;
        info.ppqPos = info.samplePos / sampleRate * tempo / 60.0;
        info.timeSigNumerator = 4;
        info.timeSigDenominator = 4;
        info.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
        return reinterpret_cast<VstIntPtr>(&info);
    }
    default: return 0;
    }
}
