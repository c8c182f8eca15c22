// The TARVA effect: the parameters of the delay unit and their decoded values.
#pragma once

#include "effect/ParameterIndex.h"
#include "effect/RelaxedAtomic.h"
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

    // Program changes start from free delay time, so a program's DlyTime applies.
    void selectProgram(int index) override;

    // Audio thread.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // The tempo used by the clock mode.
    void setTempo(float normalized); // the editor's tempo entry: 400 * x, at least 40 BPM
    float getTempo() const noexcept { return tempoBpm; }
    void setHostTempo(double bpm); // once per block from the host's time info: 40..400 BPM

    // Decoded values, read by the engine.
    float getInputGain() const noexcept { return inputGain; }
    float getOutputGain() const noexcept { return outputGain; }
    float getDelayMs() const noexcept { return delayMs; }
    float getRateHz() const noexcept { return rateHz; }
    bool isClockMode() const noexcept { return clockMode != 0; }
    bool isRepeatHold() const noexcept { return repeatHold != 0; }
    int getNumIndex() const noexcept { return numIndex; }
    int getDenIndex() const noexcept { return denIndex; }
    // The delay-time hand-over: raised by every change of the delay time.
    bool takeDelayChanged() noexcept;

private:
    float applyControl(int index, float value);
    void setSwitch(int index, int on);
    int switchState(int index) const noexcept;
    void computeClockDelay();

    std::array<RelaxedAtomic<float>, kNumControls> parameterValues;

    RelaxedAtomic<float> inputGain = 1.0f;
    RelaxedAtomic<float> outputGain = 1.0f;
    RelaxedAtomic<float> delayMs = 2000.0f;
    RelaxedAtomic<float> rateHz = 0.1f;
    RelaxedAtomic<int> delayDoubling = 0;
    RelaxedAtomic<int> delayInvert = 0;
    RelaxedAtomic<int> hiCutOn = 0;
    RelaxedAtomic<int> feedbackInvert = 0;
    RelaxedAtomic<int> repeatHold = 0;
    RelaxedAtomic<int> powerOn = 1;
    RelaxedAtomic<int> clockMode = 0;
    RelaxedAtomic<int> numIndex = 0;
    RelaxedAtomic<int> denIndex = 0;

    RelaxedAtomic<float> tempoBpm = 120.0f;
    RelaxedAtomic<float> clockDelayRatio = 0.0f;
    RelaxedAtomic<bool> delayChanged = false;
};
