#include "presets/CPresetSystemEffect.h"

#include "host/HostStrings.h"
#include "presets/CPresetSystemEditor.h"
#include "presets/FactoryPrograms.h"

#include <cstring>

namespace
{
constexpr int kFirstUnlearnableController = 120; // 120-127 are channel mode messages
constexpr unsigned char kControlChange = 0xB0;
constexpr float kMidiDataMax = 127.0f;
} // namespace

CPresetSystemEffect::CPresetSystemEffect(audioMasterCallback audioMaster, VstInt32 numParams)
    : AudioEffectX(audioMaster, 1, numParams)
{
    programsAreChunks();
    curProgram = 0;
    initFactoryPrograms();
    setDefaultControllerMap();
}

CPresetSystemEditor* CPresetSystemEffect::presetEditor() const noexcept
{
    return static_cast<CPresetSystemEditor*>(getEditor());
}

// ---- programs --------------------------------------------------------------------------

void CPresetSystemEffect::initFactoryPrograms()
{
    for (int k = 0; k < kNumPrograms; ++k)
    {
        storeProgramName(programs[k], kFactoryPrograms[k].name);
        programs[k].values = kFactoryPrograms[k].values;
    }
}

int CPresetSystemEffect::getCurrentProgramIndex()
{
    return currentProgram;
}

void CPresetSystemEffect::selectProgram(int index)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    loading = true;
    curProgram = 0;
    currentProgram = index;
    // Through the virtual setParameter, so the effect decodes each value; the loading
    // flag keeps these calls from writing back into the program.
    for (int p = 0; p < kNumControls; ++p)
        setParameter(p, programs[index].values[p]);
    updateDisplay();
    loading = false;
}

void CPresetSystemEffect::renameCurrentProgram(const char* name)
{
    curProgram = 0;
    if (name != nullptr)
        storeProgramName(programs[currentProgram], name);
    updateDisplay();
}

void CPresetSystemEffect::setProgramName(char* name)
{
    if (name == nullptr)
        return;
    char terminated[kProgramNameBytes + 1];
    copyHostString(terminated, name, kProgramNameBytes);
    storeProgramName(programs[currentProgram], terminated);
    if (CPresetSystemEditor* editor = presetEditor())
        editor->programNameChanged(terminated);
}

void CPresetSystemEffect::getProgramName(char* name)
{
    copyProgramName(programs[currentProgram], name);
}

bool CPresetSystemEffect::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text)
{
    if (index < 0 || index >= kNumPrograms)
        return false;
    copyProgramName(programs[index], text);
    return true;
}

// ---- chunk -----------------------------------------------------------------------------

int CPresetSystemEffect::getUniqueId()
{
    return cEffect.uniqueID;
}

VstInt32 CPresetSystemEffect::getChunk(void** data, bool /*isPreset*/)
{
    // Program and bank requests get the same chunk: the whole state.
    writeStateChunk(chunkBuffer, static_cast<std::uint32_t>(getUniqueId()), programs,
                    currentProgram, controllers.assignmentValues());
    *data = chunkBuffer;
    return static_cast<VstInt32>(stateChunk::kBytes);
}

VstInt32 CPresetSystemEffect::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/)
{
    // Parsed into a temporary: a rejected chunk leaves every program and binding as it was.
    const auto contents = readStateChunk(data, static_cast<std::size_t>(byteSize),
                                         static_cast<std::uint32_t>(getUniqueId()));
    if (!contents)
        return -1;
    programs = contents->programs;
    // The bindings come back with the values, so a reopened project keeps its MIDI map.
    controllers.restoreFromValues(contents->controllerValues);
    if (contents->currentProgram >= 0 && contents->currentProgram < kNumPrograms)
        selectProgram(contents->currentProgram);
    if (CPresetSystemEditor* editor = presetEditor())
        editor->programsChanged();
    return 0;
}

// ---- parameters ------------------------------------------------------------------------

void CPresetSystemEffect::setParameter(VstInt32 index, float value)
{
    if (isControl(index))
    {
        programs[currentProgram].values[index] = value;
        if (learning)
            learnTarget = index;
        if (unlearning)
        {
            unassignParameter(index);
            endUnlearn();
        }
    }
    else if (isControllerParameter(index))
    {
        controllers.setAssignmentValue(index - kFirstControllerParameter, value);
    }
}

float CPresetSystemEffect::getParameter(VstInt32 index)
{
    if (isControllerParameter(index))
        return controllers.assignmentValue(index - kFirstControllerParameter);
    return 0.0f;
}

// ---- MIDI ------------------------------------------------------------------------------

VstInt32 CPresetSystemEffect::processEvents(VstEvents* events)
{
    if (events == nullptr)
        return 0;
    for (VstInt32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = events->events[i];
        if (event == nullptr || event->type != kVstMidiType)
            continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        const auto status = static_cast<unsigned char>(midi->midiData[0]);
        const auto controller = static_cast<unsigned char>(midi->midiData[1]);
        const auto data = static_cast<unsigned char>(midi->midiData[2]);
        // Data bytes have the top bit clear in valid MIDI; anything else is not ours to index with.
        if ((status & 0xF0) != kControlChange || controller > 127 || data > 127)
            continue;

        const int target = learnTarget;
        if (learning && isControl(target) && controller < kFirstUnlearnableController)
        {
            controllers.bind(target, controller);
            endLearn();
        }

        const int parameter = controllers.parameterForController(controller);
        if (parameter == ControllerMap::kNone)
            continue;
        setParameter(parameter, static_cast<float>(data) / kMidiDataMax);
    }
    return 1;
}

VstInt32 CPresetSystemEffect::canDo(char* text)
{
    if (text != nullptr && std::strcmp(text, "receiveVstMidiEvent") == 0)
        return canHostDo("sendVstMidiEvent") != 0 ? 1 : 0;
    return 0;
}

void CPresetSystemEffect::resume()
{
    wantEvents(1);
}

// ---- controller map --------------------------------------------------------------------

void CPresetSystemEffect::setDefaultControllerMap()
{
    controllers.setDefaults();
}

void CPresetSystemEffect::assignController(int parameter, int controller)
{
    controllers.bind(parameter, controller);
}

void CPresetSystemEffect::unassignParameter(int parameter)
{
    controllers.unbindParameter(parameter);
}

void CPresetSystemEffect::unassignController(int controller)
{
    controllers.unbindController(controller);
}

int CPresetSystemEffect::getControllerForParameter(int parameter)
{
    return controllers.controllerForParameter(parameter);
}

int CPresetSystemEffect::getParameterForController(int controller)
{
    return controllers.parameterForController(controller);
}

bool CPresetSystemEffect::takeChangedFlag()
{
    const bool was = changed;
    changed = false;
    return was;
}

void CPresetSystemEffect::startLearn()
{
    learnTarget = kNoLearnTarget;
    learning = true;
}

void CPresetSystemEffect::endLearn()
{
    learning = false;
    learnTarget = kNoLearnTarget;
    if (CPresetSystemEditor* editor = presetEditor())
        editor->learnEnded();
}

void CPresetSystemEffect::setLearnTarget(int parameter)
{
    learnTarget = parameter;
}

void CPresetSystemEffect::startUnlearn()
{
    unlearning = true;
}

void CPresetSystemEffect::endUnlearn()
{
    unlearning = false;
    if (CPresetSystemEditor* editor = presetEditor())
        editor->unlearnEnded();
}

void CPresetSystemEffect::loadStoredDefaults()
{
    if (CPresetSystemEditor* editor = presetEditor())
        editor->loadStoredDefaults();
}
