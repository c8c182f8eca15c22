// The editor's idle pass: the controller under the mouse, the delay digits, the lamps and
// the level meter, from one read of the engine's display state.
#include "editor/Editor.h"
#include "effect/ParameterIndex.h"
#include "effect/ParameterTable.h"
#include "effect/QEL.h"
#include "gui/controls/CSwitches.h"

#include <algorithm>
#include <cmath>

using namespace editorLayout;

namespace
{
constexpr float kMeterRangeDb = 24.0f;

float digitValue(int frame)
{
    return static_cast<float>(frame) / static_cast<float>(kDigitFrames - 1);
}

float frameValue(int frame, int frames)
{
    return static_cast<float>(frame) / static_cast<float>(frames - 1);
}
} // namespace

void Editor::idle()
{
    // What the effect published first, so that this pass draws it.
    if (frame)
    {
        showParameterChanges();
        showEffectState();
    }
    AEffGUIEditor::idle();
    if (!frame || !controllerDisplay)
        return;
    if (!updateControllerDisplay())
        return;

    const std::uint32_t now = tickCount();
    float phase = 0.0f;
    float level = 0.0f;
    int effectiveDelayMs = 0;
    int delayMsRounded = 0;
    unsigned char flash = 0;
    qel->getDisplayState(phase, level, effectiveDelayMs, delayMsRounded, flash);
    const float tempo = qel->getTempo();

    if (tempoEditActive)
    {
        if (now - tempoEditTime > kEditWindowMs)
            tempoEditActive = false;
        displayDelayDigits(tempo);
    }
    else if (isOn(kDlyClk))
    {
        const int num = kNumerators[controlStep(kNum, qel->getParameter(kNum))];
        const int den = kDenominators[controlStep(kDen, qel->getParameter(kDen))];
        if (std::all_of(digits.begin(), digits.end(), [](auto* d) { return d != nullptr; }))
        {
            digits[0]->setValue(digitValue(num));
            digits[1]->setValue(digitValue(kBlankDigit));
            digits[2]->setValue(digitValue(den >= 10 ? den / 10 : kBlankDigit));
            digits[3]->setValue(digitValue(den % 10));
        }
        // A synchronised delay longer than the memory holds flashes the reading at 1 Hz.
        const int ms =
            static_cast<int>(static_cast<float>(num * 240000) / (static_cast<float>(den) * tempo));
        if (ms > kMaxDelayMs)
        {
            if (now - blinkTime >= kBlinkMs)
            {
                blinkTime = now;
                blinkOn = !blinkOn;
            }
            if (blinkOn)
                blankDelayDigits();
        }
    }
    else if (delayEditActive)
    {
        displayDelayDigits(static_cast<float>(delayMsRounded));
        if (now - delayEditTime >= kEditWindowMs)
            delayEditActive = false;
    }
    else
        displayDelayDigits(static_cast<float>(effectiveDelayMs));

    if (oscillatorLamp)
        oscillatorLamp->setValue(0.5f + 0.5f * std::sin(phase));
    if (statusLamps)
    {
        const int lamps = (isOn(kHiCut) ? 1 : 0) + (isOn(kRptInf) ? 2 : 0) + (flash ? 4 : 0);
        statusLamps->setValue(frameValue(lamps, kStatusLampFrames));
    }
    updateMeter(level, now);
    if (powerLamp)
        powerLamp->setValue(isOn(kPower) ? 0.0f : 0.5f);
    lastIdleTime = now;
}

// Jumps up at once; falls by at most its whole range per meterFallMs of real time.
void Editor::updateMeter(float level, std::uint32_t now)
{
    if (!meter)
        return;
    float db = -kMeterRangeDb;
    if (level > meterFloor)
        db = std::min(20.0f * std::log10(level), 0.0f);
    const float target = db / kMeterRangeDb + 1.0f;
    const float elapsed = static_cast<float>(now - lastIdleTime);
    const float fallen = std::max(meter->getValue() - elapsed / meterFallMs, 0.0f);
    meter->setValue(std::max(target, fallen));
}

void Editor::displayDelayDigits(float value)
{
    const int n = static_cast<int>(value);
    int rest = n;
    const int thousands = n >= 1000 ? rest / 1000 : kBlankDigit;
    if (n >= 1000)
        rest -= 1000 * thousands;
    const int hundreds = n >= 100 ? rest / 100 : kBlankDigit;
    if (n >= 100)
        rest -= 100 * hundreds;
    const int tens = n >= 10 ? rest / 10 : kBlankDigit;
    if (n >= 10)
        rest -= 10 * tens;
    if (!std::all_of(digits.begin(), digits.end(), [](auto* d) { return d != nullptr; }))
        return;
    digits[0]->setValue(digitValue(thousands));
    digits[1]->setValue(digitValue(hundreds));
    digits[2]->setValue(digitValue(tens));
    digits[3]->setValue(digitValue(rest));
}

void Editor::blankDelayDigits()
{
    if (!std::all_of(digits.begin(), digits.end(), [](auto* d) { return d != nullptr; }))
        return;
    for (CMovieBitmap* digit : digits)
        digit->setValue(digitValue(kBlankDigit));
}
