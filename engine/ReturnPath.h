// The way back from the memory's read to its input: the optional 4 kHz high cut and the
// feedback gain and sign.
#pragma once

#include "engine/EngineState.h"
#include "engine/StereoPair.h"

namespace engine
{
struct ReturnPath
{
    // Design, per block.
    DoublePair hiCutCoef = _mm_setzero_pd();
    DoublePair hiCutComplement = _mm_setzero_pd();
    FloatPair sign = _mm_setzero_ps();
    bool hiCutOn = false;

    // State: the high cut's output (the read signal itself while it is off).
    FloatPair hiCutState = _mm_setzero_ps();

    void design(const EngineState& e, const BlockTargets& t) noexcept
    {
        sign = _mm_set1_ps(t.feedbackSign);
        hiCutOn = t.hiCutOn != 0;
        hiCutCoef = _mm_set1_pd(e.hiCutCoef);
        hiCutComplement = _mm_set1_pd(e.hiCutComplement);
    }

    void load(const EngineState& e) noexcept
    {
        hiCutState = makePair(e.hiCutStateL, e.hiCutStateR);
    }

    void store(EngineState& e) const noexcept
    {
        storePair(&e.hiCutStateL, &e.hiCutStateR, hiCutState);
    }

    TARVA_HOT_INLINE FloatPair filtered(FloatPair read) noexcept
    {
        if (hiCutOn)
            hiCutState = narrow(_mm_add_pd(_mm_mul_pd(widen(hiCutState), hiCutCoef),
                                           _mm_mul_pd(widen(read), hiCutComplement)));
        else
            hiCutState = read;
        // From 2^-34 up the flush constant is below half a unit in the last place of the
        // state, in either direction: the flush would change nothing.
        if ((_mm_movemask_ps(_mm_cmpge_ps(absPair(hiCutState), _mm_set1_ps(0x1p-34f))) & 3) != 3)
            hiCutState = flushPair(hiCutState);
        return hiCutState;
    }

    // The sign is exact, so it can join the gain first: one rounding on the way back.
    TARVA_HOT_INLINE FloatPair scaled(FloatPair signal, float gain) const noexcept
    {
        return _mm_mul_ps(signal, _mm_mul_ps(_mm_set1_ps(gain), sign));
    }
};
} // namespace engine
