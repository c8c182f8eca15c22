// One row per control parameter: what the host reads about it.
#pragma once

#include "effect/ParameterIndex.h"

#include <array>
#include <cmath>

// How a control decodes its value and renders its display text.
enum class ParameterKind
{
    Gain,        // 4*v*v, shown in dB
    Mix,         // dry-wet split
    DelayTime,   // 3200*v ms
    Switch,      // on from 0.5
    Feedback,    // v, shown in dB
    ClockFactor, // v, shown as the factor v + 0.5
    Percent,     // v, shown as percent
    Waveform,    // sine - envelope - square blend
    Rate,        // 0.1*100^v Hz
    ClockMode,   // "dly" or "clk"
    Numerator,   // one of kNumerators
    Denominator, // one of kDenominators
};

// The tempo-synchronised delay is numerator/denominator of a whole note.
inline constexpr std::array<int, 5> kNumerators = {1, 3, 5, 7, 9};
inline constexpr std::array<int, 13> kDenominators = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96};

// The longest delay the memory holds: DlyTime at 1.
constexpr float kMaxDelayMs = 3200.0f;
// The tempo entry (the delay sliders in clock mode) sets the tempo as v * 400 bpm.
constexpr float kTempoEntryScale = 400.0f;

constexpr int kSwitchSteps = 2;
constexpr int kNumeratorSteps = static_cast<int>(kNumerators.size());
constexpr int kDenominatorSteps = static_cast<int>(kDenominators.size());

struct ParameterInfo
{
    const char* name;
    const char* label;
    ParameterKind kind;
    int steps; // positions of a stepped control, which stepIndex decodes; 0 when continuous
};

inline constexpr std::array<ParameterInfo, kNumControls> kControlInfo = {{
    {"Input", "dB", ParameterKind::Gain, 0},
    {"Output", "dB", ParameterKind::Gain, 0},
    {"Mix", "%", ParameterKind::Mix, 0},
    {"DlyTime", "ms", ParameterKind::DelayTime, 0},
    {"Dlyx2", " ", ParameterKind::Switch, kSwitchSteps},
    {"DlyInv", " ", ParameterKind::Switch, kSwitchSteps},
    {"Fbck", "dB", ParameterKind::Feedback, 0},
    {"HiCut", " ", ParameterKind::Switch, kSwitchSteps},
    {"FbInv", " ", ParameterKind::Switch, kSwitchSteps},
    {"ManVCO", "X", ParameterKind::ClockFactor, 0},
    {"Depth", "%", ParameterKind::Percent, 0},
    {"Waveform", "", ParameterKind::Waveform, 0},
    {"Rate", "Hz", ParameterKind::Rate, 0},
    {"RptInf", " ", ParameterKind::Switch, kSwitchSteps},
    {"Power", " ", ParameterKind::Switch, kSwitchSteps},
    {"Dly<>Clk", " ", ParameterKind::ClockMode, kSwitchSteps},
    {"Num", " ", ParameterKind::Numerator, kNumeratorSteps},
    {"Den", " ", ParameterKind::Denominator, kDenominatorSteps},
}};

// The step a stepped control's value selects.
constexpr int controlStep(int index, float v) noexcept
{
    return stepIndex(v, kControlInfo[index].steps);
}

// The decodings of v, the value limited to 0..1. Each is written once, in the order of
// operations the golden renders were made with.

// Input and Output: a square law, +12 dB at 1.
constexpr float gainFromValue(float v) noexcept
{
    return v * v * 4.0f;
}

constexpr float delayMsFromValue(float v) noexcept
{
    return kMaxDelayMs * v;
}

// The oscillator's rate: 0.1 Hz at 0 to 10 Hz at 1, even steps in octaves.
inline float rateHzFromValue(float v) noexcept
{
    const auto power = static_cast<float>(std::pow(100.0, static_cast<double>(v)));
    return power * 0.1f;
}

constexpr const char* kControllerParameterPrefix = "CC# ";
