#include "ThreadedHost.h"

#include "gui/AEffGUIEditor.h"
#include "host/AudioEffect.h"
#include "presets/StateChunk.h"

#include <cstdlib>
#include <cstring>

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

VstIntPtr ThreadedHost::answer(VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/, void* ptr,
                               float /*opt*/)
{
    switch (opcode)
    {
    case audioMasterVersion: return 2400;
    case audioMasterAutomate: ++automations; return 0;
    case audioMasterUpdateDisplay: ++displayUpdates; return 1;
    case audioMasterWantMidi: return 1;
    case audioMasterBeginEdit:
    case audioMasterEndEdit: return 1;
    case audioMasterCanDo:
        return ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0
                   ? 1
                   : 0;
    case audioMasterGetTime:
    {
        // One record per calling thread: the answer stays valid until that thread asks again.
        thread_local VstTimeInfo timeInfo{};
        ++timeQueries;
        timeInfo = VstTimeInfo{};
        timeInfo.sampleRate = 44100.0;
        timeInfo.tempo = tempo;
        timeInfo.timeSigNumerator = 4;
        timeInfo.timeSigDenominator = 4;
        timeInfo.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
        return reinterpret_cast<VstIntPtr>(&timeInfo);
    }
    default: return 0;
    }
}

VstEntryProc linkedEntry()
{
    return &VSTPluginMain;
}

std::chrono::duration<double> raceDuration(double defaultSeconds)
{
    const char* text = std::getenv("TARVA_RACE_SECONDS");
    const double seconds = text != nullptr ? std::atof(text) : 0.0;
    return std::chrono::duration<double>(seconds > 0.0 ? seconds : defaultSeconds);
}

CFrame* editorFrame(AEffect* effect)
{
    auto* plugin = static_cast<AudioEffect*>(effect->object);
    auto* editor = dynamic_cast<AEffGUIEditor*>(plugin->getEditor());
    return editor != nullptr ? editor->getFrame() : nullptr;
}

CControl* controlWithTag(CFrame* frame, std::int32_t tag)
{
    if (frame == nullptr)
        return nullptr;
    for (std::int32_t i = 0; i < frame->getNbViews(); ++i)
        if (CView* view = frame->getView(i); view != nullptr && view->isTypeOf("CControl"))
            if (auto* control = static_cast<CControl*>(view); control->getTag() == tag)
                return control;
    return nullptr;
}

void operate(CControl* control, float value)
{
    if (control == nullptr)
        return;
    control->setValue(value);
    control->valueChanged();
}

void MidiBlock::controlChange(int channel, int controller, int value, VstInt32 deltaFrames) noexcept
{
    if (count == kCapacity)
        return;
    VstMidiEvent& event = midi[count];
    event = VstMidiEvent{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(0xB0 | (channel & 0x0F));
    event.midiData[1] = static_cast<char>(controller & 0x7F);
    event.midiData[2] = static_cast<char>(value & 0x7F);
    list.events[count] = reinterpret_cast<VstEvent*>(&event);
    ++count;
}

VstEvents* MidiBlock::events() noexcept
{
    list.numEvents = count;
    static_assert(offsetof(decltype(list), events) == offsetof(VstEvents, events));
    return reinterpret_cast<VstEvents*>(&list);
}

namespace
{
std::size_t valueOffset(int program, int control)
{
    return stateChunk::kProgramsOffset + static_cast<std::size_t>(program) * kProgramRecordBytes +
           kProgramNameBytes + 4 * static_cast<std::size_t>(control);
}
} // namespace

ProgramValues programValuesOf(const std::vector<std::byte>& chunk)
{
    ProgramValues all;
    if (chunk.size() != stateChunk::kBytes)
        return all;
    all.values.resize(static_cast<std::size_t>(kNumPrograms) * kNumControls);
    for (int k = 0; k < kNumPrograms; ++k)
        for (int p = 0; p < kNumControls; ++p)
            std::memcpy(&all.values[static_cast<std::size_t>(k * kNumControls + p)],
                        chunk.data() + valueOffset(k, p), 4);
    return all;
}

std::vector<std::byte> withDistinctPrograms(std::vector<std::byte> chunk)
{
    if (chunk.size() != stateChunk::kBytes)
        return chunk;
    for (int k = 0; k < kNumPrograms; ++k)
        for (int p = 0; p < kNumControls; ++p)
        {
            // 1/512 apart: every value of every program differs, all within 0..1.
            const float value = static_cast<float>(k * kNumControls + p + 1) / 512.0f;
            std::memcpy(chunk.data() + valueOffset(k, p), &value, 4);
        }
    return chunk;
}

std::vector<std::byte> withCurrentProgram(std::vector<std::byte> chunk, std::int32_t program)
{
    if (chunk.size() == stateChunk::kBytes)
        std::memcpy(chunk.data() + stateChunk::kCurrentProgramOffset, &program, 4);
    return chunk;
}
