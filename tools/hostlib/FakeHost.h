// A scriptable VST 2.4 host: answers the plug-in's callback as told and records what
// the plug-in asked. One FakeHost may serve several instances.
#pragma once

#include "HostCallback.h"
#include "PluginLibrary.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// What the host answers.
struct HostScript
{
    VstIntPtr version = 2400;       // audioMasterVersion; 0 refuses plug-ins
    VstIntPtr sendMidiAnswer = 1;   // audioMasterCanDo "sendVstMidiEvent"
    bool inputPinConnected = true;  // pin 1
    bool outputPinConnected = true; // pin 1
    bool timeInfoAvailable = true;
    double tempo = 120.0;
    double ppqPos = 0.0;
    double sampleRate = 44100.0;
};

// What the plug-in asked.
struct HostRecord
{
    int versionCalls = 0;
    int updateDisplayCalls = 0;
    int wantMidiCalls = 0;
    int timeInfoCalls = 0;
    int pinQueries = 0;
    int idleCalls = 0;
    std::vector<std::pair<VstInt32, float>> automations;
    std::vector<VstInt32> beginEdits;
    std::vector<VstInt32> endEdits;
    std::vector<std::string> canDoQuestions;
    std::vector<VstInt32> otherOpcodes;
    std::vector<VstInt32> opcodesInsideEntryPoint; // every call before the record came back
};

class FakeHost : public HostCallback
{
public:
    HostScript script;
    HostRecord record;

private:
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;
    VstTimeInfo timeInfo{};
};

// One plug-in instance, driven only through its AEffect record; closed when destroyed.
class PluginInstance
{
public:
    PluginInstance(FakeHost& host, VstEntryProc entry);
    // An instance another host made; closed when destroyed like any other.
    explicit PluginInstance(AEffect* made) noexcept : fx(made) {}
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const noexcept { return fx; }
    explicit operator bool() const noexcept { return fx != nullptr; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    // effOpen, sample rate, block size, resume: what a DAW does before processing.
    void start(float sampleRate, VstInt32 blockSize);
    void suspend();
    void process(float** inputs, float** outputs, VstInt32 frames);
    // Whole buffers in blocks of blockSize frames (the last block may be shorter).
    // outR may be null: the host then offers one output.
    void processInBlocks(const float* inL, const float* inR, float* outL, float* outR, long frames,
                         VstInt32 blockSize);
    VstIntPtr close(); // effClose and its answer; the instance is gone afterwards

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);
    std::string programName();
    std::string programNameIndexed(VstInt32 index, VstIntPtr* result = nullptr);

    std::vector<std::byte> getChunk(bool isPreset = false);
    VstIntPtr setChunk(std::vector<std::byte> chunk, bool isPreset = false);

    // One control-change message on the given channel, through effProcessEvents.
    VstIntPtr controlChange(int channel, int controller, int value);
    // Raw MIDI bytes (status, data 1, data 2) as one event.
    VstIntPtr midi(unsigned char status, unsigned char data1, unsigned char data2);

private:
    std::string text(VstInt32 opcode, VstInt32 index);
    AEffect* fx = nullptr;
};
