// Where the editor's own controls stand on the 870 x 101 panel, in creation order, and
// the bitmaps they are drawn from. The preset strip along the bottom edge is the preset
// editor's.
#pragma once

#include "gui/CGraphics.h"

#include <array>
#include <cstdint>

namespace editorLayout
{
inline constexpr CCoord kWidth = 870;
inline constexpr CCoord kHeight = 101;

enum ResourceId : std::int32_t
{
    kBackgroundBitmap = 128,
    kAboutBitmap = 129,
    kDoublerBitmap = 130,
    kInputKnobBitmap = 131,
    kOutputKnobBitmap = 132,
    kFeedbackKnobBitmap = 133,
    kFbInvBitmap = 134,
    kDlyInvBitmap = 135,
    kMixKnobBitmap = 136,
    kRptInfBitmap = 137,
    kDelayDownBitmap = 138,
    kDelayUpBitmap = 139,
    kDigit1Bitmap = 140,
    kDigit2Bitmap = 141,
    kDigit3Bitmap = 142,
    kDigit4Bitmap = 143,
    kStatusLampsBitmap = 144,
    kPowerLampBitmap = 145,
    kMeterBitmap = 146,
    kHiCutBitmap = 147,
    kDepthKnobBitmap = 148,
    kManVcoKnobBitmap = 149,
    kRateKnobBitmap = 150,
    kWaveformKnobBitmap = 151,
    kPowerBitmap = 152,
    kOscillatorLampBitmap = 153,
    kClockSwitchBitmap = 155,
};

// The order in which the editor loads its bitmaps when the window opens.
inline constexpr std::array<std::int32_t, 27> kLoadOrder = {
    128, 129, 131, 132, 133, 136, 149, 148, 147, 151, 150, 134, 135, 137,
    152, 130, 155, 138, 139, 146, 140, 141, 142, 143, 144, 145, 153,
};

// Tags of the controls that are not parameters.
enum Tag : std::int32_t
{
    kDelayDownTag = 19,
    kDelayUpTag = 20,
    kDigit1Tag = 21, // to 24
    kStatusLampsTag = 26,
    kPowerLampTag = 27,
    kOscillatorLampTag = 28,
    kMeterTag = 29,
    kSmallSliderTag = 30,
    kWideSliderTag = 31,
    kAboutTag = 32,
    kFirstPresetTag = 33, // the preset strip's controls
};

enum class Kind
{
    display, // a movie bitmap the idle pass sets
    knob,
    onOffButton,
    clockSwitch,
    stepButton,
    slider,
    about,
};

struct Row
{
    Kind kind;
    std::int32_t tag;
    CRect rect;
    std::int32_t bitmap; // 0: none
    std::int32_t frames;
    float defaultValue; // knobs: the value Ctrl+click sets
};

inline constexpr std::int32_t kKnobFrames = 101;
inline constexpr int kNumDigits = 4;
inline constexpr std::int32_t kDigitFrames = 12;
inline constexpr int kBlankDigit = 10;
inline constexpr std::int32_t kStatusLampFrames = 8;
inline constexpr std::int32_t kMeterFrames = 21;

// clang-format off
inline constexpr std::array<Row, 28> kRows = {{
    {Kind::display,     21, {511, 32, 525, 52}, kDigit1Bitmap,         12, 0},
    {Kind::display,     22, {528, 32, 542, 52}, kDigit2Bitmap,         12, 0},
    {Kind::display,     23, {545, 32, 560, 52}, kDigit3Bitmap,         12, 0},
    {Kind::display,     24, {563, 32, 577, 52}, kDigit4Bitmap,         12, 0},
    {Kind::display,     26, {577, 26, 593, 58}, kStatusLampsBitmap,     8, 0},
    {Kind::display,     27, {341, 59, 352, 70}, kPowerLampBitmap,       2, 0},
    {Kind::display,     28, {786, 61, 796, 71}, kOscillatorLampBitmap, 101, 0},
    {Kind::knob,         0, {109, 25, 144, 60}, kInputKnobBitmap,     101, 0.5f},
    {Kind::knob,         1, {154, 25, 189, 60}, kOutputKnobBitmap,    101, 0.5f},
    {Kind::knob,         6, {200, 25, 235, 60}, kFeedbackKnobBitmap,  101, 0.0f},
    {Kind::knob,         2, {352, 25, 387, 60}, kMixKnobBitmap,       101, 0.5f},
    {Kind::knob,         9, {616, 25, 651, 60}, kManVcoKnobBitmap,    101, 0.5f},
    {Kind::knob,        10, {661, 25, 697, 61}, kDepthKnobBitmap,     101, 0.0f},
    {Kind::onOffButton,  7, {247, 44, 270, 70}, kHiCutBitmap,           2, 0},
    {Kind::knob,        11, {706, 25, 742, 61}, kWaveformKnobBitmap,  101, 0.5f},
    {Kind::knob,        12, {752, 25, 788, 61}, kRateKnobBitmap,      101, 0.0f},
    {Kind::onOffButton,  8, {276, 44, 297, 70}, kFbInvBitmap,           2, 0},
    {Kind::onOffButton,  5, {306, 44, 327, 70}, kDlyInvBitmap,          2, 0},
    {Kind::onOffButton, 13, {399, 44, 421, 70}, kRptInfBitmap,          2, 0},
    {Kind::onOffButton,  4, { 74, 45,  95, 65}, kDoublerBitmap,         2, 0},
    {Kind::onOffButton, 14, {818, 45, 840, 65}, kPowerBitmap,           2, 0},
    {Kind::clockSwitch, 15, {457, 23, 472, 33}, kClockSwitchBitmap,     2, 0},
    {Kind::stepButton,  19, {431, 33, 457, 59}, kDelayDownBitmap,       2, 0},
    {Kind::stepButton,  20, {470, 33, 496, 59}, kDelayUpBitmap,         2, 0},
    {Kind::display,     29, { 41, 21,  48, 64}, kMeterBitmap,          21, 0},
    {Kind::slider,      30, {458, 34, 470, 59}, 0,                      0, 0},
    {Kind::slider,      31, {505, 27, 591, 57}, 0,                      0, 0},
    {Kind::about,       32, {806, 15, 867, 39}, kAboutBitmap,           1, 0},
}};
// clang-format on

// Where the about screen shows its version text, relative to the window.
inline constexpr CPoint kAboutTextOrigin{520, 57};
} // namespace editorLayout
