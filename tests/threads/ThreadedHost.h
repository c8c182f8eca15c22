// A host for driving one plug-in instance from several threads at once, as a DAW does: the
// audio thread, the user-interface thread and the host's workers. Every answer of the
// callback is safe from any thread. The instance's editor opens offscreen, and its controls
// are used through the frame, as the user would use them.
#pragma once

#include "FakeHost.h"
#include "gui/VSTGUI.h"
#include "presets/StateChunk.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <vector>

class ThreadedHost : public HostCallback
{
public:
    std::atomic<int> automations{0};
    std::atomic<int> displayUpdates{0};
    std::atomic<int> timeQueries{0};
    double tempo = 120.0; // set before the threads start

protected:
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;
};

// The plug-in's code linked into the program, the way the test programs reach it.
VstEntryProc linkedEntry();

// How long each race runs: TARVA_RACE_SECONDS, or the given default.
std::chrono::duration<double> raceDuration(double defaultSeconds);

// The editor's frame while it is open, else null.
CFrame* editorFrame(AEffect* effect);
// The control with that tag in the frame, or null.
CControl* controlWithTag(CFrame* frame, std::int32_t tag);
// A user's gesture on a control: the value, then the listener is told.
void operate(CControl* control, float value);

// The strip's controls used here.
constexpr std::int32_t kRockerTag = 34;
constexpr std::int32_t kProgramMenuTag = 45;
constexpr std::int32_t kLearnTag = 40;
constexpr std::int32_t kClearTag = 44;
constexpr std::int32_t kProgramNameTag = 33;

// The controllers bound by default.
constexpr int kBoundControllers[] = {102, 103, 104, 105, 107, 108, 109, 110, 111,
                                     112, 113, 114, 115, 116, 117, 118, 119, 120};

// Control-change events for effProcessEvents; the record points into the object.
class MidiBlock
{
public:
    void clear() noexcept { count = 0; }
    void controlChange(int channel, int controller, int value, VstInt32 deltaFrames = 0) noexcept;
    VstEvents* events() noexcept;

private:
    static constexpr int kCapacity = 64;
    VstMidiEvent midi[kCapacity]{};
    struct
    {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[kCapacity];
    } list{};
    int count = 0;
};

// The state chunk's programs, values only.
struct ProgramValues
{
    std::vector<float> values; // program after program, kNumControls each
    friend bool operator==(const ProgramValues&, const ProgramValues&) = default;
};
ProgramValues programValuesOf(const std::vector<std::byte>& chunk);
// The chunk with program k's control p set to a value no other program or control has.
std::vector<std::byte> withDistinctPrograms(std::vector<std::byte> chunk);
// The chunk with the current program set.
std::vector<std::byte> withCurrentProgram(std::vector<std::byte> chunk, std::int32_t program);
