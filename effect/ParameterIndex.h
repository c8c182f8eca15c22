// The parameter indices and the helpers that turn normalized values into steps.
// Shared by the effect and the preset system.
#pragma once

#include <cmath>

enum ParameterIndex : int
{
    kInput = 0,
    kOutput,
    kMix,
    kDlyTime,
    kDlyx2,
    kDlyInv,
    kFbck,
    kHiCut,
    kFbInv,
    kManVco,
    kDepth,
    kWaveform,
    kRate,
    kRptInf,
    kPower,
    kDlyClk,
    kNum,
    kDen,
    kNumControls, // 18: the controls of the delay unit

    kFirstControllerParameter = kNumControls, // 18 + i: the controller of control i
    kNumParameters = 2 * kNumControls,        // 36
};

constexpr bool isControl(int index) noexcept
{
    return index >= 0 && index < kNumControls;
}

constexpr bool isControllerParameter(int index) noexcept
{
    return index >= kFirstControllerParameter && index < kNumParameters;
}

// The step of a normalized value with n positions: floor of the single-precision
// product n*v, kept within 0..n-1 (negative values and NaN give step 0, so no table
// is ever indexed outside its range).
constexpr int stepIndex(float v, int n) noexcept
{
    const float product = static_cast<float>(n) * v;
    if (!(product >= 0.0f)) // negative or NaN
        return 0;
    if (product >= static_cast<float>(n - 1))
        return n - 1;
    return static_cast<int>(product); // truncation is the floor for product >= 0
}

// The middle of step k of n: the value that stepIndex maps back to k.
constexpr float stepValue(int k, int n) noexcept
{
    return (static_cast<float>(k) + 0.5f) / static_cast<float>(n);
}

// Every parameter value is taken as 0 when it is NaN, from whatever source.
constexpr float nanToZero(float v) noexcept
{
    return v != v ? 0.0f : v;
}

// The range the decoding formulas are defined on; stored values keep what came in.
constexpr float clampUnit(float v) noexcept
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : (v != v ? 0.0f : v));
}
