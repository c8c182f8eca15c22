// Which MIDI controller moves which control. Runs on the audio thread: fixed arrays,
// no allocation, no lock.
//
// The two tables and the values of parameters 18-35 never disagree: a controller moves
// at most one control, a control has at most one controller, and the value the host
// reads for 18 + p always names p's controller (or none).
#pragma once

#include "effect/ParameterIndex.h"
#include "effect/RelaxedAtomic.h"

#include <array>

class ControllerMap
{
public:
    static constexpr int kNone = 999;            // no controller / no parameter
    static constexpr int kNumControllers = 128;  // MIDI controller numbers 0-127
    static constexpr int kAssignmentSteps = 129; // host values: controllers 0-127, then none
    static constexpr int kUnassignedStep = 128;

    ControllerMap() noexcept { setDefaults(); }

    static bool isController(int c) noexcept { return c >= 0 && c < kNumControllers; }

    // The factory map: controllers 102-105 and 107-120 on controls 0-17.
    void setDefaults() noexcept;

    // Binds c to p; p's previous controller and c's previous control are released.
    void bind(int parameter, int controller) noexcept;
    void unbindParameter(int parameter) noexcept;
    void unbindController(int controller) noexcept;

    // The host-facing parameter 18 + p: the value is kept as given and selects
    // controller stepIndex(value, 129), 128 meaning none.
    void setAssignmentValue(int parameter, float value) noexcept;
    float assignmentValue(int parameter) const noexcept;

    // Rebuilds both tables from restored assignment values (a reloaded project).
    void restoreFromValues(const std::array<float, kNumControls>& values) noexcept;
    std::array<float, kNumControls> assignmentValues() const noexcept;

    int controllerForParameter(int parameter) const noexcept;
    int parameterForController(int controller) const noexcept;

private:
    void release(int parameter) noexcept;

    std::array<RelaxedAtomic<int>, kNumControls> parameterToController;
    std::array<RelaxedAtomic<int>, kNumControllers> controllerToParameter;
    std::array<RelaxedAtomic<float>, kNumControls> controllerValues;
};
