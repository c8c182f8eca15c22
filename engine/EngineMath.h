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

// Four-point Catmull-Rom between p1 (f = 0) and p2 (f = 1), p0 the oldest point.
// Evaluated in double and rounded once.
inline float catmullRom(const float* p, double f) noexcept
{
    const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
    const double f2 = f * f;
    const double f3 = f2 * f;
    return static_cast<float>(0.5 * (2.0 * p1 + (p2 - p0) * f +
                                     (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * f2 +
                                     (p3 - 3.0 * p2 + 3.0 * p1 - p0) * f3));
}

// Drops the oldest of four entries and appends the newest.
inline void pushHistory(float* history, float newest) noexcept
{
    history[0] = history[1];
    history[1] = history[2];
    history[2] = history[3];
    history[3] = newest;
}
} // namespace engine
