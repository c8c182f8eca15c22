// One row per control parameter: what the host reads about it.
#pragma once

#include "effect/ParameterIndex.h"

#include <array>

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

struct ParameterInfo
{
    const char* name;
    const char* label;
    ParameterKind kind;
};

inline constexpr std::array<ParameterInfo, kNumControls> kControlInfo = {{
    {"Input", "dB", ParameterKind::Gain},
    {"Output", "dB", ParameterKind::Gain},
    {"Mix", "%", ParameterKind::Mix},
    {"DlyTime", "ms", ParameterKind::DelayTime},
    {"Dlyx2", " ", ParameterKind::Switch},
    {"DlyInv", " ", ParameterKind::Switch},
    {"Fbck", "dB", ParameterKind::Feedback},
    {"HiCut", " ", ParameterKind::Switch},
    {"FbInv", " ", ParameterKind::Switch},
    {"ManVCO", "X", ParameterKind::ClockFactor},
    {"Depth", "%", ParameterKind::Percent},
    {"Waveform", "", ParameterKind::Waveform},
    {"Rate", "Hz", ParameterKind::Rate},
    {"RptInf", " ", ParameterKind::Switch},
    {"Power", " ", ParameterKind::Switch},
    {"Dly<>Clk", " ", ParameterKind::ClockMode},
    {"Num", " ", ParameterKind::Numerator},
    {"Den", " ", ParameterKind::Denominator},
}};

// The tempo-synchronised delay is numerator/denominator of a whole note.
inline constexpr std::array<int, 5> kNumerators = {1, 3, 5, 7, 9};
inline constexpr std::array<int, 13> kDenominators = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96};

constexpr const char* kControllerParameterPrefix = "CC# ";
constexpr float kMaxDelayMs = 3200.0f;
