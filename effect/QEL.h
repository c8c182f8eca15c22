// The TARVA effect: the parameters of the delay unit, their decoded values and the
// delay engine that plays them.
#pragma once

#include "effect/ChangeCount.h"
#include "effect/ParameterIndex.h"
#include "effect/RelaxedAtomic.h"
#include "engine/EngineState.h"
#include "presets/CPresetSystemEffect.h"

#include <array>

class QEL : public CPresetSystemEffect
{
public:
    explicit QEL(audioMasterCallback audioMaster);

    // Identity, as hosts list the plug-in.
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override { return 0; }
    VstPlugCategory getPlugCategory() override { return kPlugCategUnknown; }

    // Any thread, the audio thread included: no allocation, no lock, fixed order of work.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    // Texts and properties, from the host's non-audio threads.
    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override;

    // Lifecycle, from the host's non-audio threads while no block runs.
    void suspend() override;
    void resume() override;

    // Audio thread.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // The tempo used by the clock mode.
    void setTempo(float normalized); // the editor's tempo entry: 400 * x, at least 40 BPM
    float getTempo() const noexcept { return targets.tempoBpm; }
    void setHostTempo(double bpm); // from the host's time info: limited to 40..400 BPM
    // Whether the host gave a tempo with the last block. The clock then follows the host,
    // so the editor's tempo entry would be undone at the next block: the editor offers it
    // only while this is false. Set by the audio thread, read by the editor.
    bool isTempoFromHost() const noexcept { return tempoFromHost; }

    // For the editor's idle pass: oscillator phase, level since the last call, effective
    // and nominal delay in ms, and whether the beat indicator flashed since the last call.
    void getDisplayState(float& phase, float& level, int& effectiveDelayMs, int& nominalDelayMs,
                         unsigned char& flash);

    bool isClockMode() const noexcept { return targets.clockMode != 0; }
    bool isRepeatHold() const noexcept { return targets.repeatHold != 0; }
    float getDelayMs() const noexcept { return targets.delayMs; }
    int getEngineSampleRate() const noexcept { return engine.engineSampleRate; }
    int getMemoryLength() const noexcept { return engine.memoryLength; }
    int getWriteIndex() const noexcept { return engine.writeIndex; }
    int getReadIndex() const noexcept { return engine.readIndex; }
    bool isHoldEngaged() const noexcept { return engine.holdEngaged != 0; }
    // The targets the last block played with; audio thread.
    const BlockTargets& getBlockTargets() const noexcept { return engine.block; }

protected:
    void applyParameter(VstInt32 index, float value) override;
    void applyProgram(const ProgramRecord& program) override;

private:
    // Parameter model.
    void applyControl(int index, float value);
    int switchState(int index) const noexcept;
    void computeClockDelay(bool held);
    // Audio thread, once per block: the host's tempo, when its time info has one.
    void followHostTempo(const VstTimeInfo* time) noexcept;

    // Engine (engine/): the engine-side part of a parameter change, construction,
    // rate-dependent values, and the clear that silences the memory.
    void updateEngine(int index, float v);
    void initEngine();
    bool buildForRate(int rate);
    void setRateConstants();
    void placeReadPosition();
    void clearEngine();
    BlockTargets copyTargets() const noexcept;
    BlockRequests takeBlockTargets() noexcept;
    void designInputFilter(float cutoffHz);
    float inputFilterCutoff(float rateThreshold) const;

    std::array<RelaxedAtomic<float>, kNumControls> parameterValues;
    EngineTargets targets;
    ChangeCount targetChanges; // whole program changes, so a block never takes half of one
    EngineState engine;
    DisplayHandOver display;
    RelaxedAtomic<bool> tempoFromHost = false;
};
