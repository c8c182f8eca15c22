// What the host shows for each parameter: names, labels, display texts, properties.
#include "effect/QEL.h"

#include "effect/DisplayFormat.h"
#include "effect/ParameterTable.h"
#include "host/HostStrings.h"

#include <cstdio>
#include <cstring>

namespace
{
// Names of the controller parameters ("CC# Dly<>Clk") run to 12 characters, beyond the
// interface's nominal 8; hosts pass larger buffers in practice, and cutting them would
// make the 18 assignment parameters unreadable. Never more than this is written.
constexpr std::size_t kMaxNameChars = 12;

constexpr float kDelayTimeStep = 0.00015622559f; // half a millisecond of the 3200 ms range
} // namespace

void QEL::getParameterName(VstInt32 index, char* text)
{
    if (isControl(index))
    {
        copyHostString(text, kControlInfo[index].name, kMaxNameChars);
    }
    else if (isControllerParameter(index))
    {
        char name[kMaxNameChars + 1];
        std::snprintf(name, sizeof name, "%s%s", kControllerParameterPrefix,
                      kControlInfo[index - kFirstControllerParameter].name);
        copyHostString(text, name, kMaxNameChars);
    }
}

void QEL::getParameterLabel(VstInt32 index, char* label)
{
    copyHostString(label, isControl(index) ? kControlInfo[index].label : " ", kVstMaxParamStrLen);
}

void QEL::getParameterDisplay(VstInt32 index, char* text)
{
    if (!isControl(index))
        return;        // the controller parameters have no display text
    char out[32] = ""; // roomy for snprintf; at most kDisplayFormatChars reach the host
    // Texts show what is decoded, so they are made from the value limited to 0..1.
    const float v = clampUnit(parameterValues[index]);
    switch (kControlInfo[index].kind)
    {
    case ParameterKind::Gain: formatDecibels(gainFromValue(v), out); break;
    case ParameterKind::Mix:
    {
        const int dry = static_cast<int>((1.0f - v) * 100.0f);
        if (dry == 100)
            std::strcpy(out, "dry");
        else if (dry == 0)
            std::strcpy(out, "wet");
        else
            std::snprintf(out, sizeof out, "%d-%d", dry, 100 - dry);
        break;
    }
    case ParameterKind::DelayTime:
        formatInteger(static_cast<int>(targets.delayMs + 0.5f), out);
        break;
    case ParameterKind::Switch: std::strcpy(out, switchState(index) != 0 ? "on" : "off"); break;
    case ParameterKind::Feedback: formatDecibels(v, out); break;
    case ParameterKind::ClockFactor: formatFloat8(v + 0.5f, out); break;
    case ParameterKind::Percent: formatInteger(static_cast<int>(v * 100.0f), out); break;
    case ParameterKind::Waveform:
        if (v <= 0.0f)
            std::strcpy(out, "sin");
        else if (v < 0.5f)
            std::snprintf(out, sizeof out, "%d-%d", static_cast<int>(100.0f - 200.0f * v),
                          static_cast<int>(200.0f * v));
        else if (v == 0.5f)
            std::strcpy(out, "env");
        else if (v < 1.0f)
            std::snprintf(out, sizeof out, "%d-%d", static_cast<int>(200.0f - 200.0f * v),
                          static_cast<int>(200.0f * v - 100.0f));
        else
            std::strcpy(out, "sqr");
        break;
    case ParameterKind::Rate: formatFloat8(targets.rateHz, out); break;
    case ParameterKind::ClockMode:
        // From the mode itself: a change refused under the hold keeps showing the old mode.
        std::strcpy(out, targets.clockMode != 0 ? "clk" : "dly");
        break;
    case ParameterKind::Numerator:
        std::snprintf(out, sizeof out, "%1.0f", static_cast<double>(kNumerators[targets.numIndex]));
        break;
    case ParameterKind::Denominator:
        std::snprintf(out, sizeof out, "%.0f",
                      static_cast<double>(kDenominators[targets.denIndex]));
        break;
    }
    copyHostString(text, out, kDisplayFormatChars);
}

bool QEL::getParameterProperties(VstInt32 index, VstParameterProperties* properties)
{
    if (!isControl(index))
        return false;
    switch (kControlInfo[index].kind)
    {
    case ParameterKind::DelayTime:
        properties->stepFloat = kDelayTimeStep;
        properties->smallStepFloat = kDelayTimeStep;
        properties->flags = kVstParameterUsesFloatStep;
        return true;
    case ParameterKind::Switch:
    case ParameterKind::ClockMode:
        properties->flags =
            kVstParameterIsSwitch | kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
        properties->minInteger = 0;
        properties->maxInteger = 1;
        properties->stepInteger = 1;
        properties->largeStepInteger = 1;
        return true;
    // The integer ranges are filled but not flagged, as hosts have always seen them.
    case ParameterKind::Numerator:
        properties->flags = 0;
        properties->minInteger = 1;
        properties->maxInteger = kNumeratorSteps;
        properties->stepInteger = 1;
        return true;
    case ParameterKind::Denominator:
        properties->flags = 0;
        properties->minInteger = 1;
        properties->maxInteger = 14;
        properties->stepInteger = 1;
        return true;
    default: return false;
    }
}
