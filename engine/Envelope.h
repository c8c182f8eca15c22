// The 10 Hz envelope of the limited signal, whose curve bends the memory clock.
#pragma once

#include "engine/EngineMath.h"
#include "engine/EngineState.h"
#include "engine/EnvelopeCurve.h"
#include "engine/StereoPair.h"

#include <cmath>

namespace engine
{
struct Envelope
{
    // Design, per block.
    double coef = 0.0;
    double complement = 1.0;
    float amount = 0.0f; // the envelope's weight in the clock

    // State.
    float state = 0.0f;
    float modulation = 0.0f; // the envelope's part of the clock

    void design(const EngineState& e, const BlockTargets& t) noexcept
    {
        coef = e.envelopeCoef;
        complement = e.envelopeComplement;
        amount = t.envelopeAmount;
    }

    // Where the envelope has no weight its modulation is a zero, formed only at the end of
    // the block: one left from an earlier block must not bend this block's clock.
    void load(const EngineState& e) noexcept
    {
        state = e.envelopeState;
        modulation = amount == 0.0f ? 0.0f : e.envelopeModulation;
    }

    void store(EngineState& e) const noexcept
    {
        e.envelopeState = state;
        e.envelopeModulation = modulation;
    }

    // One step toward the mean level; returns the envelope before its flush.
    TARVA_HOT_INLINE float step(float meanLevel) noexcept
    {
        const auto env = static_cast<float>(state * coef + complement * meanLevel);
        // From 2^-34 up the flush would change nothing (as in the return path): the
        // envelope's way from one sample to the next need not wait for it.
        state = env;
        if (TARVA_RARELY(!(std::fabs(env) >= 0x1p-34f)))
            state = flush(env);
        return env;
    }

    TARVA_HOT_INLINE void bend(float env) noexcept
    {
        const float curve = envelopeCurve(env);
        modulation = (curve - 0.5f) * amount;
    }
};
} // namespace engine
