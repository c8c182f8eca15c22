#include "presets/ControllerMap.h"

namespace
{
constexpr std::array<int, kNumControls> kDefaultControllers = {
    102, 103, 104, 105, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120};

const float kUnassignedValue =
    stepValue(ControllerMap::kUnassignedStep, ControllerMap::kAssignmentSteps);
} // namespace

void ControllerMap::setDefaults() noexcept
{
    for (auto& entry : controllerToParameter)
        entry = kNone;
    for (int p = 0; p < kNumControls; ++p)
    {
        const int c = kDefaultControllers[p];
        parameterToController[p] = c;
        controllerToParameter[c] = p;
        controllerValues[p] = stepValue(c, kAssignmentSteps);
    }
}

// Drops p's controller from both tables; p's value is left to the caller.
void ControllerMap::release(int parameter) noexcept
{
    const int c = parameterToController[parameter];
    if (isController(c) && controllerToParameter[c] == parameter)
        controllerToParameter[c] = kNone;
    parameterToController[parameter] = kNone;
}

void ControllerMap::bind(int parameter, int controller) noexcept
{
    if (!isControl(parameter) || !isController(controller))
        return;
    const int previousOwner = controllerToParameter[controller];
    if (previousOwner != parameter && isControl(previousOwner))
        unbindParameter(previousOwner);
    release(parameter);
    parameterToController[parameter] = controller;
    controllerToParameter[controller] = parameter;
    controllerValues[parameter] = stepValue(controller, kAssignmentSteps);
}

void ControllerMap::unbindParameter(int parameter) noexcept
{
    if (!isControl(parameter))
        return;
    release(parameter);
    controllerValues[parameter] = kUnassignedValue;
}

void ControllerMap::unbindController(int controller) noexcept
{
    if (!isController(controller))
        return;
    const int p = controllerToParameter[controller];
    if (isControl(p))
        unbindParameter(p);
    controllerToParameter[controller] = kNone;
}

void ControllerMap::setAssignmentValue(int parameter, float value) noexcept
{
    if (!isControl(parameter))
        return;
    const int step = stepIndex(value, kAssignmentSteps);
    if (step == kUnassignedStep)
        unbindParameter(parameter);
    else
        bind(parameter, step);
    // The host reads back exactly what it wrote.
    controllerValues[parameter] = value;
}

float ControllerMap::assignmentValue(int parameter) const noexcept
{
    return isControl(parameter) ? controllerValues[parameter].load() : 0.0f;
}

void ControllerMap::restoreFromValues(const std::array<float, kNumControls>& values) noexcept
{
    for (auto& entry : controllerToParameter)
        entry = kNone;
    for (auto& entry : parameterToController)
        entry = kNone;
    // In parameter order: should two parameters name one controller, the later keeps it.
    for (int p = 0; p < kNumControls; ++p)
        setAssignmentValue(p, values[p]);
}

std::array<float, kNumControls> ControllerMap::assignmentValues() const noexcept
{
    std::array<float, kNumControls> values{};
    for (int p = 0; p < kNumControls; ++p)
        values[p] = controllerValues[p];
    return values;
}

int ControllerMap::controllerForParameter(int parameter) const noexcept
{
    return isControl(parameter) ? parameterToController[parameter].load() : kNone;
}

int ControllerMap::parameterForController(int controller) const noexcept
{
    return isController(controller) ? controllerToParameter[controller].load() : kNone;
}
