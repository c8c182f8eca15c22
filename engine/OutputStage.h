// The last stage of a sample: the dry/wet mix into the host's outputs, or the untouched
// input while the power is off.
#pragma once

#include "engine/StereoPair.h"
#include "host/vst2.h"

namespace engine
{
struct OutputStage
{
    float* left = nullptr;
    float* right = nullptr; // null: the left output takes the mean of both channels
    bool powerOn = true;

    TARVA_HOT_INLINE void write(VstInt32 i, FloatPair raw, FloatPair gained, FloatPair read,
                                float dryGain, float wetGain) const noexcept
    {
        if (powerOn)
        {
            const DoublePair mixed = _mm_add_pd(_mm_mul_pd(_mm_set1_pd(dryGain), widen(gained)),
                                                _mm_mul_pd(_mm_set1_pd(wetGain), widen(read)));
            if (right != nullptr)
            {
                storePair(left + i, right + i, narrow(mixed));
            }
            else
            {
                const double l = leftOf(narrow(mixed));
                const double r = _mm_cvtsd_f64(_mm_unpackhi_pd(mixed, mixed));
                left[i] = static_cast<float>(0.5 * (l + r));
            }
        }
        else if (right != nullptr)
        {
            storePair(left + i, right + i, raw);
        }
        else
        {
            left[i] = static_cast<float>(0.5 * (static_cast<double>(leftOf(raw)) + rightOf(raw)));
        }
    }
};
} // namespace engine
