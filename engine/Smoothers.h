// The 30 Hz smoothers of the sample loop and the dry/wet gains they give.
#pragma once

#include "engine/EngineMath.h"
#include "engine/EngineState.h"
#include "engine/StereoPair.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace engine
{
template <int kLane> TARVA_HOT_INLINE float laneOf(__m128 v) noexcept
{
    return _mm_cvtss_f32(_mm_shuffle_ps(v, v, _MM_SHUFFLE(kLane, kLane, kLane, kLane)));
}

// One-pole steps toward the block's targets: input gain, output gain, mix and depth side by
// side, the feedback gain beside them. Each step is the target's share plus pole * state,
// the sum rounded to float once; the target's share is the same every sample (and exact in
// double), so the design forms it once per block.
struct Smoothers
{
    static constexpr float kMinFeedbackGain = 9.9999997e-06f;

    // Design, per block.
    double pole = 0.0;
    double feedbackShare = 0.0;
    DoublePair poles = _mm_setzero_pd();
    DoublePair gainShares = _mm_setzero_pd();
    DoublePair mixDepthShares = _mm_setzero_pd();
    float wetSign = 1.0f;

    // State: input gain, output gain, mix and depth in lanes 0 to 3.
    __m128 levels = _mm_setzero_ps();
    float depth = 0.0f;
    float feedbackGain = 0.0f;
    float dryGain = 0.0f;
    float wetGain = 0.0f;

    void design(const EngineState& e, const BlockTargets& t) noexcept
    {
        pole = e.smoothCoef;
        const double complement = e.smoothComplement;
        const double inputShare = complement * t.inputGain;
        const double outputShare = complement * t.outputGain;
        const double mixShare = complement * t.mix;
        feedbackShare = complement * t.feedback;
        const double depthShare = complement * t.depth;
        poles = _mm_set1_pd(pole);
        gainShares = _mm_setr_pd(inputShare, outputShare);
        mixDepthShares = _mm_setr_pd(mixShare, depthShare);
        wetSign = t.wetSign;
    }

    void load(const EngineState& e) noexcept
    {
        depth = e.depthSmoothed;
        levels = _mm_setr_ps(e.inputGainSmoothed, e.outputGainSmoothed, e.mixSmoothed, depth);
        feedbackGain = e.feedbackSmoothed;
        dryGain = e.dryGain;
        wetGain = e.wetGain;
    }

    void store(EngineState& e) const noexcept
    {
        e.inputGainSmoothed = laneOf<0>(levels);
        e.outputGainSmoothed = laneOf<1>(levels);
        e.mixSmoothed = laneOf<2>(levels);
        e.feedbackSmoothed = feedbackGain;
        e.depthSmoothed = depth;
        e.dryGain = dryGain;
        e.wetGain = wetGain;
    }

    // The input gain, in every lane.
    TARVA_HOT_INLINE FloatPair inputGain() const noexcept
    {
        return _mm_shuffle_ps(levels, levels, 0);
    }

    // One step of the four smoothers side by side, plus the denormal offset.
    TARVA_HOT_INLINE __m128 stepped(__m128 state, float offset) const noexcept
    {
        const DoublePair gainsNext = _mm_add_pd(gainShares, _mm_mul_pd(poles, _mm_cvtps_pd(state)));
        const DoublePair mixDepthNext = _mm_add_pd(
            mixDepthShares, _mm_mul_pd(poles, _mm_cvtps_pd(_mm_movehl_ps(state, state))));
        return _mm_add_ps(_mm_movelh_ps(narrow(gainsNext), narrow(mixDepthNext)),
                          _mm_set1_ps(offset));
    }

    // The feedback gain's step has no offset, and takes its smallest values as 0.
    TARVA_HOT_INLINE float steppedFeedbackGain(float state) const noexcept
    {
        const auto next = static_cast<float>(feedbackShare + pole * state);
        return std::fabs(next) < kMinFeedbackGain ? 0.0f : next;
    }

    // A linear dry/wet law scaled by the output gain; DlyInv flips the wet part.
    TARVA_HOT_INLINE void setDryWet() noexcept
    {
        const float outputGain = laneOf<1>(levels);
        const float wet = flush(laneOf<2>(levels) * outputGain);
        dryGain = outputGain - wet;
        wetGain = wet * wetSign;
    }

    TARVA_HOT_INLINE void step(float offset) noexcept
    {
        levels = stepped(levels, offset);
        depth = laneOf<3>(levels);
        feedbackGain = steppedFeedbackGain(feedbackGain);
        setDryWet();
    }

    // Smoothers that have arrived (a knob left alone for a moment) step onto themselves with
    // either sign of the offset: they then stay as they are for the whole block.
    bool settled(float offset) const noexcept
    {
        const auto same = [](__m128 a, __m128 b) {
            return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_castps_si128(a), _mm_castps_si128(b))) ==
                   0xffff;
        };
        const float size = std::fabs(offset);
        return same(stepped(levels, size), levels) && same(stepped(levels, -size), levels) &&
               std::bit_cast<std::uint32_t>(steppedFeedbackGain(feedbackGain)) ==
                   std::bit_cast<std::uint32_t>(feedbackGain);
    }
};
} // namespace engine
