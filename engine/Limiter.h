// The soft limiter of the sample loop: a running level over a short window of magnitudes.
#pragma once

#include "engine/EngineState.h"
#include "engine/StereoPair.h"

namespace engine
{
// Below a mean level of 2 the gain is 1 - mean / 4, above it 1 / mean, per channel. The
// window's magnitudes live in the engine's ring; the running sum starts each block from the
// ring, so rounding cannot build up.
struct Limiter
{
    static constexpr int kMaxWindow = EngineState::kLevelRingSize;

    // Design, per block.
    int window = 4;
    FloatPair inverseWindow = _mm_setzero_ps();
    FloatPair quarterInverseWindow = _mm_setzero_ps();

    // State.
    FloatPair levelSum = _mm_setzero_ps();
    float* ringL = nullptr;
    float* ringR = nullptr;
    int ringIndex = 0;

    // The window is 2, 4, 8 or 16: multiplying by its inverse is the exact division. A
    // quarter of the mean is the sum times a quarter of the inverse: the same float, as both
    // scalings are by powers of two (and where the mean would lose bits below the normal
    // range the gain is 1 either way).
    void design(int windowLength) noexcept
    {
        window = windowLength;
        inverseWindow = _mm_set1_ps(1.0f / static_cast<float>(window));
        quarterInverseWindow = _mm_set1_ps(0.25f / static_cast<float>(window));
    }

    void load(EngineState& e) noexcept
    {
        float sumL = 0.0f;
        float sumR = 0.0f;
        for (int i = 0; i < window; ++i)
        {
            sumL += e.levelRingL[i];
            sumR += e.levelRingR[i];
        }
        levelSum = makePair(sumL, sumR);
        ringL = e.levelRingL.data();
        ringR = e.levelRingR.data();
        ringIndex = e.levelRingIndex;
    }

    void store(EngineState& e) const noexcept
    {
        e.levelSumL = leftOf(levelSum);
        e.levelSumR = rightOf(levelSum);
        e.levelRingIndex = ringIndex;
    }

    // The gain for this sample's magnitudes, which join the window.
    TARVA_HOT_INLINE FloatPair gain(FloatPair magnitude) noexcept
    {
        levelSum = _mm_sub_ps(_mm_add_ps(levelSum, magnitude),
                              loadPair(ringL + ringIndex, ringR + ringIndex));
        storePair(ringL + ringIndex, ringR + ringIndex, magnitude);
        if (++ringIndex == window)
            ringIndex = 0;
        const FloatPair mean = _mm_mul_ps(levelSum, inverseWindow);
        const FloatPair overTwo = _mm_cmpgt_ps(mean, _mm_set1_ps(2.0f));
        FloatPair result =
            _mm_sub_ps(_mm_set1_ps(1.0f), _mm_mul_ps(levelSum, quarterInverseWindow));
        if ((_mm_movemask_ps(overTwo) & 3) != 0) // loud: 1 / mean where above 2
            result = select(overTwo, _mm_div_ps(_mm_set1_ps(1.0f), mean), result);
        return result;
    }

    // The window's magnitudes, for a run that may have to be done again.
    void copyRing(float* left, float* right) const noexcept
    {
        for (int k = 0; k < window; ++k)
        {
            left[k] = ringL[k];
            right[k] = ringR[k];
        }
    }

    void restoreRing(const float* left, const float* right) noexcept
    {
        for (int k = 0; k < window; ++k)
        {
            ringL[k] = left[k];
            ringR[k] = right[k];
        }
    }
};
} // namespace engine
