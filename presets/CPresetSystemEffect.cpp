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

// ---- programs --------------------------------------------------------------------------

void CPresetSystemEffect::initFactoryPrograms()
{
    ProgramTable factory{};
    for (int k = 0; k < kNumPrograms; ++k)
    {
        storeProgramName(factory[k], kFactoryPrograms[k].name);
        factory[k].values = kFactoryPrograms[k].values;
    }
    programs.replaceAll(factory);
    programsPublished();
}

int CPresetSystemEffect::getCurrentProgramIndex()
{
    return currentProgram;
}

ProgramRecord CPresetSystemEffect::readProgram(int index) const noexcept
{
    return programs.read(index);
}

ProgramTable CPresetSystemEffect::readPrograms() const noexcept
{
    return programs.readAll();
}

void CPresetSystemEffect::selectProgram(int index)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    {
        const std::lock_guard command(commandLock);
        selectProgramLocked(index);
    }
    updateDisplay();
}

// The values go to the effect directly, not through setParameter: a program being applied
// is not written back into itself, nor into whichever program another thread selects
// meanwhile, and it names no control for MIDI learn.
void CPresetSystemEffect::selectProgramLocked(int index)
{
    currentProgram = index;
    applyProgram(programs.read(index));
    programsPublished();
}

void CPresetSystemEffect::loadIntoCurrentProgram(const ProgramRecord& program)
{
    {
        const std::lock_guard command(commandLock);
        const int index = currentProgram;
        programs.replace(index, program);
        selectProgramLocked(index);
    }
    updateDisplay();
}

void CPresetSystemEffect::loadAllPrograms(const ProgramTable& table)
{
    {
        const std::lock_guard command(commandLock);
        programs.replaceAll(table);
        selectProgramLocked(0);
    }
    updateDisplay();
}

void CPresetSystemEffect::replaceProgram(int index, const ProgramRecord& program)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    const std::lock_guard command(commandLock);
    programs.replace(index, program);
    programsPublished();
}

void CPresetSystemEffect::renameProgram(int index, const char* name)
{
    if (name == nullptr || index < 0 || index >= kNumPrograms)
        return;
    programs.rename(index, name);
    programsPublished();
}

void CPresetSystemEffect::renameCurrentProgram(const char* name)
{
    renameProgram(currentProgram, name);
    updateDisplay();
}

void CPresetSystemEffect::setProgramName(char* name)
{
    if (name == nullptr)
        return;
    char terminated[kProgramNameBytes + 1];
    copyHostString(terminated, name, kProgramNameBytes);
    renameProgram(currentProgram, terminated);
}

void CPresetSystemEffect::getProgramName(char* name)
{
    copyProgramName(programs.read(currentProgram), name);
}

bool CPresetSystemEffect::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text)
{
    if (index < 0 || index >= kNumPrograms)
        return false;
    copyProgramName(programs.read(index), text);
    return true;
}

// ---- chunk -----------------------------------------------------------------------------

int CPresetSystemEffect::getUniqueId()
{
    return cEffect.uniqueID;
}

VstInt32 CPresetSystemEffect::getChunk(void** data, bool /*isPreset*/)
{
    // Program and bank requests get the same chunk: the whole state. The lock keeps a
    // restore or program change (and another thread's save) out of it while it is
    // written; values automated meanwhile come as one consistent copy.
    const std::lock_guard command(commandLock);
    writeStateChunk(chunkBuffer, static_cast<std::uint32_t>(getUniqueId()), programs.readAll(),
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
    bool selected = false;
    {
        const std::lock_guard command(commandLock);
        programs.replaceAll(contents->programs);
        // The bindings come back with the values, so a reopened project keeps its MIDI map.
        controllers.restoreFromValues(contents->controllerValues);
        selected = contents->currentProgram >= 0 && contents->currentProgram < kNumPrograms;
        if (selected)
            selectProgramLocked(contents->currentProgram);
        else
            programsPublished();
    }
    if (selected)
        updateDisplay();
    return 0;
}

// ---- parameters ------------------------------------------------------------------------

void CPresetSystemEffect::setParameter(VstInt32 index, float value)
{
    if (isControl(index))
    {
        programs.setValue(currentProgram, index, value);
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
        const VstEvent* event = vstEventAt(*events, i);
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
}

// At construction, on the creating thread, before the host holds the effect.
void CPresetSystemEffect::loadStoredDefaults()
{
    if (auto* editor = static_cast<CPresetSystemEditor*>(getEditor()))
        editor->loadStoredDefaults();
}
