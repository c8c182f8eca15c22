// The VST 2.4 plug-in interface, declared from its published binary layout.
// Records use natural alignment, which matches the layout hosts built with the
// original headers expect on every target we ship (32- and 64-bit, Linux and Windows).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t; // pointer-sized: 32 bits on x86, 64 on x86-64

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// Four characters packed big-endian, as the interface spells its identifiers.
constexpr VstInt32 fourCharCode(char a, char b, char c, char d)
{
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');

struct AEffect
{
    VstInt32 magic;                   // 0   kEffectMagic
    AEffectDispatcherProc dispatcher; // 4 / 8
    AEffectProcessProc process;       // deprecated accumulating entry
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object; // the plug-in's own object
    void* user;   // free for the host
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert(sizeof(void*) == 8 || sizeof(void*) == 4, "only 32- and 64-bit targets");
static_assert(sizeof(AEffect) == (sizeof(void*) == 8 ? 192 : 144), "AEffect layout");
static_assert(offsetof(AEffect, dispatcher) == (sizeof(void*) == 8 ? 8 : 4), "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == (sizeof(void*) == 8 ? 64 : 40), "AEffect layout");
static_assert(offsetof(AEffect, object) == (sizeof(void*) == 8 ? 96 : 64), "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == (sizeof(void*) == 8 ? 112 : 72), "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == (sizeof(void*) == 8 ? 120 : 80),
              "AEffect layout");
static_assert(offsetof(AEffect, future) == (sizeof(void*) == 8 ? 136 : 88), "AEffect layout");

enum VstAEffectFlags : VstInt32
{
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12,
};

// Dispatcher opcodes: index, value, ptr, opt -> return.
enum AEffectOpcodes : VstInt32
{
    effOpen = 0,                   // -> 0
    effClose = 1,                  // -> 1; the plug-in deletes itself
    effSetProgram = 2,             // value: program
    effGetProgram = 3,             // -> program
    effSetProgramName = 4,         // ptr: name
    effGetProgramName = 5,         // ptr: char[kVstMaxProgNameLen + 1]
    effGetParamLabel = 6,          // index, ptr: text
    effGetParamDisplay = 7,        // index, ptr: text
    effGetParamName = 8,           // index, ptr: text
    effSetSampleRate = 10,         // opt: rate
    effSetBlockSize = 11,          // value: frames
    effMainsChanged = 12,          // value: 0 suspend, else resume
    effEditGetRect = 13,           // ptr: ERect** -> 1 if answered
    effEditOpen = 14,              // ptr: parent window -> 1 if opened
    effEditClose = 15,             //
    effEditIdle = 19,              //
    effIdentify = 22,              // -> 'NvEf'
    effGetChunk = 23,              // index: preset, ptr: void** -> size
    effSetChunk = 24,              // index: preset, value: size, ptr: data
    effProcessEvents = 25,         // ptr: VstEvents*
    effCanBeAutomated = 26,        // index -> 1 / 0
    effString2Parameter = 27,      // index, ptr: text
    effGetProgramNameIndexed = 29, // index: program, value: category, ptr: text
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35, // -> VstPlugCategory
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBypass = 44,
    effGetEffectName = 45,    // ptr: char[kVstMaxEffectNameLen]
    effGetVendorString = 47,  // ptr: char[kVstMaxVendorStrLen]
    effGetProductString = 48, // ptr: char[kVstMaxProductStrLen]
    effGetVendorVersion = 49, // -> version
    effVendorSpecific = 50,
    effCanDo = 51,                  // ptr: capability text -> 1 yes, 0 don't know, -1 no
    effGetTailSize = 52,            // -> samples
    effGetParameterProperties = 56, // index, ptr: VstParameterProperties* -> 1 / 0
    effGetVstVersion = 58,          // -> 2400
    effEditKeyDown = 59,            // index: character, value: virtual key, opt: modifiers
    effEditKeyUp = 60,              // as effEditKeyDown
    effSetEditKnobMode = 61,        // value: mode
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63, // -> -1 when not supported
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69, // value: VstSpeakerArrangement**, ptr: VstSpeakerArrangement**
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73, // value: frames -> value
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

// Host callback opcodes: index, value, ptr, opt -> return.
enum AudioMasterOpcodes : VstInt32
{
    audioMasterAutomate = 0, // index, opt: value
    audioMasterVersion = 1,  // -> host's interface version; 0 refuses the plug-in
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4, // index: pin, value: 0 input / 1 output -> 0 when connected
    audioMasterWantMidi = 6,     // value: filter
    audioMasterGetTime = 7,      // value: request mask -> VstTimeInfo* or 0
    audioMasterProcessEvents = 8,
    audioMasterCanDo = 37, // ptr: capability text -> 1 yes
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43, // index
    audioMasterEndEdit = 44,   // index
};

enum VstPlugCategory : VstInt32
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
};

enum VstStringLimits : VstInt32
{
    kVstMaxProgNameLen = 24,
    kVstMaxParamStrLen = 8,
    kVstMaxVendorStrLen = 64,
    kVstMaxProductStrLen = 64,
    kVstMaxEffectNameLen = 32,
    kVstMaxLabelLen = 64,
    kVstMaxShortLabelLen = 8,
    kVstMaxCategLabelLen = 24,
};

struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");

enum VstTimeInfoFlags : VstInt32
{
    kVstTransportChanged = 1,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

enum VstEventTypes : VstInt32
{
    kVstMidiType = 1,
    kVstSysExType = 6,
};

struct VstEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    char data[16];
};
static_assert(sizeof(VstEvent) == 32, "VstEvent layout");

struct VstMidiEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4]; // status, data 1, data 2, unused
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent layout");

struct VstEvents
{
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2]; // really numEvents entries
};
static_assert(offsetof(VstEvents, events) == 2 * sizeof(void*), "VstEvents layout");

// Entry i of the host's list. The host allocates room for numEvents entries behind the
// header, beyond the two the record declares, so the list is reached by its address rather
// than by indexing the declared array past its bound.
inline VstEvent* vstEventAt(const VstEvents& list, VstInt32 i) noexcept
{
    const auto* entries = reinterpret_cast<VstEvent* const*>(
        reinterpret_cast<const unsigned char*>(&list) + offsetof(VstEvents, events));
    return entries[i];
}

enum VstParameterFlags : VstInt32
{
    kVstParameterIsSwitch = 1 << 0,
    kVstParameterUsesIntegerMinMax = 1 << 1,
    kVstParameterUsesFloatStep = 1 << 2,
    kVstParameterUsesIntStep = 1 << 3,
    kVstParameterSupportsDisplayIndex = 1 << 4,
    kVstParameterSupportsDisplayCategory = 1 << 5,
    kVstParameterCanRamp = 1 << 6,
};

struct VstParameterProperties
{
    float stepFloat;
    float smallStepFloat;
    float largeStepFloat;
    char label[kVstMaxLabelLen];
    VstInt32 flags;
    VstInt32 minInteger;
    VstInt32 maxInteger;
    VstInt32 stepInteger;
    VstInt32 largeStepInteger;
    char shortLabel[kVstMaxShortLabelLen];
    VstInt16 displayIndex;
    VstInt16 category;
    VstInt16 numParametersInCategory;
    VstInt16 reserved;
    char categoryLabel[kVstMaxCategLabelLen];
    char future[16];
};
static_assert(sizeof(VstParameterProperties) == 152, "VstParameterProperties layout");
static_assert(offsetof(VstParameterProperties, flags) == 76, "VstParameterProperties layout");
static_assert(offsetof(VstParameterProperties, shortLabel) == 96, "VstParameterProperties layout");

struct ERect
{
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};
static_assert(sizeof(ERect) == 8, "ERect layout");

struct VstKeyCode
{
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier; // VstModifierKey bits
};

enum VstModifierKey : unsigned char
{
    MODIFIER_SHIFT = 1 << 0,
    MODIFIER_ALTERNATE = 1 << 1,
    MODIFIER_COMMAND = 1 << 2, // Ctrl on Windows and Linux
    MODIFIER_CONTROL = 1 << 3, // Mac Control
};
