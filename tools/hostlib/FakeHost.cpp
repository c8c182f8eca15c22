#include "FakeHost.h"

#include <algorithm>
#include <cstring>

VstIntPtr FakeHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (insideEntryPoint())
        record.opcodesInsideEntryPoint.push_back(opcode);
    switch (opcode)
    {
    case audioMasterVersion: ++record.versionCalls; return script.version;
    case audioMasterAutomate: record.automations.emplace_back(index, opt); return 0;
    case audioMasterUpdateDisplay: ++record.updateDisplayCalls; return 1;
    case audioMasterWantMidi: ++record.wantMidiCalls; return 1;
    case audioMasterIdle: ++record.idleCalls; return 0;
    case audioMasterBeginEdit: record.beginEdits.push_back(index); return 1;
    case audioMasterEndEdit: record.endEdits.push_back(index); return 1;
    case audioMasterCanDo:
    {
        const std::string question = ptr != nullptr ? static_cast<const char*>(ptr) : "";
        record.canDoQuestions.push_back(question);
        return question == "sendVstMidiEvent" ? script.sendMidiAnswer : 0;
    }
    case audioMasterPinConnected:
    {
        ++record.pinQueries;
        if (index != 1)
            return 0;
        const bool connected = value == 0 ? script.inputPinConnected : script.outputPinConnected;
        return connected ? 0 : 1; // 0 means connected
    }
    case audioMasterGetTime:
        ++record.timeInfoCalls;
        if (!script.timeInfoAvailable)
            return 0;
        timeInfo = VstTimeInfo{};
        timeInfo.sampleRate = script.sampleRate;
        timeInfo.tempo = script.tempo;
        timeInfo.ppqPos = script.ppqPos;
        timeInfo.timeSigNumerator = 4;
        timeInfo.timeSigDenominator = 4;
        timeInfo.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
        return reinterpret_cast<VstIntPtr>(&timeInfo);
    default: record.otherOpcodes.push_back(opcode); return 0;
    }
}

PluginInstance::PluginInstance(FakeHost& host, VstEntryProc entry) : fx(host.create(entry)) {}

PluginInstance::~PluginInstance()
{
    close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt)
{
    return fx != nullptr ? fx->dispatcher(fx, opcode, index, value, ptr, opt) : 0;
}

void PluginInstance::start(float sampleRate, VstInt32 blockSize)
{
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void PluginInstance::suspend()
{
    dispatch(effMainsChanged, 0, 0);
}

void PluginInstance::process(float** inputs, float** outputs, VstInt32 frames)
{
    if (fx != nullptr)
        fx->processReplacing(fx, inputs, outputs, frames);
}

void PluginInstance::processInBlocks(const float* inL, const float* inR, float* outL, float* outR,
                                     long frames, VstInt32 blockSize)
{
    for (long offset = 0; offset < frames; offset += blockSize)
    {
        const auto count = static_cast<VstInt32>(std::min<long>(blockSize, frames - offset));
        float* inputs[2] = {const_cast<float*>(inL + offset), const_cast<float*>(inR + offset)};
        float* outputs[2] = {outL + offset, outR != nullptr ? outR + offset : nullptr};
        process(inputs, outputs, count);
    }
}

VstIntPtr PluginInstance::close()
{
    if (fx == nullptr)
        return 0;
    const VstIntPtr answer = fx->dispatcher(fx, effClose, 0, 0, nullptr, 0.0f);
    fx = nullptr;
    return answer;
}

void PluginInstance::setParameter(VstInt32 index, float value)
{
    if (fx != nullptr)
        fx->setParameter(fx, index, value);
}

float PluginInstance::getParameter(VstInt32 index)
{
    return fx != nullptr ? fx->getParameter(fx, index) : 0.0f;
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index)
{
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, 0, buffer);
    return buffer;
}

std::string PluginInstance::parameterName(VstInt32 index)
{
    return text(effGetParamName, index);
}

std::string PluginInstance::parameterLabel(VstInt32 index)
{
    return text(effGetParamLabel, index);
}

std::string PluginInstance::parameterDisplay(VstInt32 index)
{
    return text(effGetParamDisplay, index);
}

std::string PluginInstance::programName()
{
    return text(effGetProgramName, 0);
}

std::string PluginInstance::programNameIndexed(VstInt32 index, VstIntPtr* result)
{
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    const VstIntPtr answer = dispatch(effGetProgramNameIndexed, index, 0, buffer);
    if (result != nullptr)
        *result = answer;
    return buffer;
}

std::vector<std::byte> PluginInstance::getChunk(bool isPreset)
{
    void* data = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const auto* bytes = static_cast<const std::byte*>(data);
    return {bytes, bytes + size};
}

VstIntPtr PluginInstance::setChunk(std::vector<std::byte> chunk, bool isPreset)
{
    return dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                    chunk.data());
}

VstIntPtr PluginInstance::controlChange(int channel, int controller, int value)
{
    return midi(static_cast<unsigned char>(0xB0 | (channel & 0x0F)),
                static_cast<unsigned char>(controller), static_cast<unsigned char>(value));
}

VstIntPtr PluginInstance::midi(unsigned char status, unsigned char data1, unsigned char data2)
{
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&event);
    return dispatch(effProcessEvents, 0, 0, &events);
}
