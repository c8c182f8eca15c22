// Small pieces of arithmetic the engine uses everywhere. Each states where it rounds:
// the engine's results are specified to the last bit of single precision.
#pragma once

namespace engine
{
constexpr float kFlushConstant = 1.0e-18f;
constexpr float kPi = 3.1415927410125732f;
constexpr float kTwoPi = 6.2831854820251465f;

// Adds and removes a tiny constant, both rounded to float: anything below about 1e-25
// becomes exactly 0, so recursive states never sink into denormals.
inline float flush(float v) noexcept
{
    const float raised = v + kFlushConstant;
    return raised - kFlushConstant;
}

} // namespace engine
