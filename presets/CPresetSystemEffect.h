// The effect-side half of the preset system: 17 programs kept inside the plug-in,
// the state chunk the host saves, and the MIDI controller map with learn and clear
// modes. The host sees one program; programs travel as one opaque chunk.
//
// The effect never calls into the editor. What the editor shows it publishes instead:
// which controls changed, a program generation that moves whenever a program is
// selected, replaced or renamed, and the learn and clear modes. The editor reads them in
// its idle pass, on the user-interface thread.
#pragma once

#include "effect/RelaxedAtomic.h"
#include "host/AudioEffectX.h"
#include "presets/ControllerMap.h"
#include "presets/ProgramStore.h"
#include "presets/StateChunk.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class CPresetSystemEditor;

class CPresetSystemEffect : public AudioEffectX
{
public:
    static constexpr int kNoLearnTarget = -1;

    CPresetSystemEffect(audioMasterCallback audioMaster, VstInt32 numParams);

    // Host-facing.
    VstInt32 getProgram() override { return 0; }
    void setProgram(VstInt32 /*program*/) override {}
    // Any thread but the audio thread.
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    // Any thread, the audio thread included.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(char* text) override;
    void resume() override;

    // Programs, as whole commands from the editor's or the host's threads (never the
    // audio thread). Commands run one at a time, and each is applied completely: the
    // audio thread sees the values of a selected program from one block on, never half.
    virtual int getCurrentProgramIndex();
    virtual void selectProgram(int index);
    virtual void renameCurrentProgram(const char* name);
    void renameProgram(int index, const char* name);
    // Replaces the current program with the record and applies it.
    void loadIntoCurrentProgram(const ProgramRecord& program);
    // Replaces every program and selects program 0.
    void loadAllPrograms(const ProgramTable& programs);
    // Replaces one program without applying it.
    void replaceProgram(int index, const ProgramRecord& program);

    // Consistent copies of the programs, for any thread but the audio thread.
    [[nodiscard]] ProgramRecord readProgram(int index) const noexcept;
    [[nodiscard]] ProgramTable readPrograms() const noexcept;

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

    // For the editor's idle pass: the controls changed since the last call, bit p for
    // control p (and clears them); the count of program selections, replacements and
    // renames so far.
    std::uint32_t takeChangedControls() noexcept
    {
        return changedControls.exchange(0, std::memory_order_acquire);
    }
    std::uint32_t getProgramGeneration() const noexcept
    {
        return programGeneration.load(std::memory_order_acquire);
    }

protected:
    // The effect's own part of a parameter change: store, decode, update the engine. Any
    // thread; it never touches the program store.
    virtual void applyParameter(VstInt32 index, float value) = 0;
    // A selected program's values, applied as one step.
    virtual void applyProgram(const ProgramRecord& program) = 0;

    // After the effect has stored a control's new value: the editor shows it at its next
    // idle pass.
    void publishControlChange(int index) noexcept
    {
        if (isControl(index))
            changedControls.fetch_or(1u << index, std::memory_order_release);
    }

private:
    // Under the command lock.
    void selectProgramLocked(int index);
    void programsPublished() noexcept { programGeneration.fetch_add(1, std::memory_order_release); }

    ProgramStore programs;
    RelaxedAtomic<int> currentProgram = 0;
    // Whole program commands (and the chunk buffer) are taken by one thread at a time;
    // none of them runs on the audio thread.
    std::mutex commandLock;
    alignas(4) std::byte chunkBuffer[stateChunk::kBytes]{};
    ControllerMap controllers;
    RelaxedAtomic<bool> changed = false;
    RelaxedAtomic<bool> learning = false;
    RelaxedAtomic<int> learnTarget = ControllerMap::kNone;
    RelaxedAtomic<bool> unlearning = false;
    std::atomic<std::uint32_t> changedControls{0};
    std::atomic<std::uint32_t> programGeneration{0};
    static_assert(kNumControls <= 32, "one bit per control");
};
