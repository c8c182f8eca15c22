// The hold's cross-fade between what the memory is written with and what it reads back.
#pragma once

#include "engine/EngineState.h"
#include "engine/StereoPair.h"

namespace engine
{
// While the hold is off the memory takes the live signal; while it is on, it takes back
// what it reads, so the repeats go round unchanged. A switch either way fades from one to
// the other: the fade level grows from kStart to 1 by a factor per memory tick.
struct HoldFade
{
    static constexpr float kStart = 0.001f;

    // Design, per block.
    float growth = 1.0f;

    // State.
    float level = 1.0f;
    int engaged = 0;

    // Only a switch of the hold restarts the cross-fade: a program, a restored chunk or a
    // host write that leaves RptInf as it was must not copy what is being read back into
    // the memory. With the clock following the tempo the hold waits for a period boundary.
    void load(EngineState& e, int repeatHold, int clockMode) noexcept
    {
        growth = e.fadeGrowth;
        level = e.fadeLevel;
        engaged = e.holdEngaged;
        if (repeatHold != e.holdFollows)
        {
            e.holdFollows = repeatHold;
            level = kStart;
            engaged = repeatHold != 0 && clockMode == 0 ? 1 : 0;
        }
    }

    void store(EngineState& e) const noexcept
    {
        e.holdEngaged = engaged;
        e.fadeLevel = level;
    }

    void engage() noexcept
    {
        engaged = 1;
        level = kStart;
    }

    // The memory takes the live signal as it is: no hold and no fade running.
    TARVA_HOT_INLINE bool isLive() const noexcept { return level == 1.0f && engaged == 0; }

    // What the memory takes while a fade runs or the hold is on, from the live signal and
    // the cell being read; one memory tick of the fade.
    TARVA_HOT_INLINE FloatPair faded(FloatPair written, FloatPair read) noexcept
    {
        const DoublePair f = _mm_set1_pd(level);
        const DoublePair keep = _mm_sub_pd(_mm_set1_pd(1.0), f);
        const DoublePair cell = widen(read);
        const DoublePair live = widen(written);
        const DoublePair mixed = engaged == 0
                                     ? _mm_add_pd(_mm_mul_pd(keep, cell), _mm_mul_pd(f, live))
                                     : _mm_add_pd(_mm_mul_pd(keep, live), _mm_mul_pd(f, cell));
        level = level * growth;
        if (level > 1.0f)
            level = 1.0f;
        return narrow(mixed);
    }
};
} // namespace engine
