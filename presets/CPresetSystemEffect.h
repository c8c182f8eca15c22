// The effect-side half of the preset system: 17 programs kept inside the plug-in,
// the state chunk the host saves, and the MIDI controller map with learn and clear
// modes. The host sees one program; programs travel as one opaque chunk.
#pragma once

#include "effect/RelaxedAtomic.h"
#include "host/AudioEffectX.h"
#include "presets/ControllerMap.h"
#include "presets/StateChunk.h"

class CPresetSystemEditor;

class CPresetSystemEffect : public AudioEffectX
{
public:
    static constexpr int kNoLearnTarget = -1;

    CPresetSystemEffect(audioMasterCallback audioMaster, VstInt32 numParams);

    // Host-facing.
    VstInt32 getProgram() override { return 0; }
    void setProgram(VstInt32 /*program*/) override {}
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(char* text) override;
    void resume() override;

    // Programs; the editor's thread, or the host's for chunks.
    virtual int getCurrentProgramIndex();
    virtual void selectProgram(int index);
    virtual void renameCurrentProgram(const char* name);

    // Controller map; learn and clear modes are switched from the editor.
    virtual void assignController(int parameter, int controller);
    virtual void unassignParameter(int parameter);
    virtual void unassignController(int controller);
    virtual int getControllerForParameter(int parameter);
    virtual int getParameterForController(int controller);
    virtual bool takeChangedFlag();
    virtual void startLearn();
    virtual void endLearn();
    virtual void setLearnTarget(int parameter);
    virtual void startUnlearn();
    virtual void endUnlearn();

    virtual int getUniqueId();
    virtual void loadStoredDefaults();
    virtual void initFactoryPrograms();
    virtual void setDefaultControllerMap();

    bool isLearning() const noexcept { return learning; }
    bool isUnlearning() const noexcept { return unlearning; }
    int getLearnTarget() const noexcept { return learnTarget; }

    // The editor's file loaders write records straight into the table.
    ProgramTable& programTable() noexcept { return programs; }

protected:
    bool isLoadingProgram() const noexcept { return loading; }

    // The only editor this plug-in ever registers is a preset-system editor.
    CPresetSystemEditor* presetEditor() const noexcept;

private:
    ProgramTable programs{};
    RelaxedAtomic<int> currentProgram = 0;
    alignas(4) std::byte chunkBuffer[stateChunk::kBytes]{};
    ControllerMap controllers;
    RelaxedAtomic<bool> changed = false;
    RelaxedAtomic<bool> learning = false;
    RelaxedAtomic<int> learnTarget = ControllerMap::kNone;
    RelaxedAtomic<bool> unlearning = false;
    RelaxedAtomic<bool> loading = false;
};
