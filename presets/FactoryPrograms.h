// The programs every new instance starts with.
#pragma once

#include "effect/ParameterIndex.h"

#include <array>

constexpr int kNumFactoryPrograms = 17;

struct FactoryProgram
{
    const char* name;
    std::array<float, kNumControls> values;
};

extern const std::array<FactoryProgram, kNumFactoryPrograms> kFactoryPrograms;
