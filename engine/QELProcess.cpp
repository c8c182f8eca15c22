// The audio thread's block: the host's tempo is read once per block; the signal
// passes through unchanged until the delay engine is in place.
#include "effect/QEL.h"

#include <cstring>

void QEL::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (VstTimeInfo* time = getTimeInfo(kVstTempoValid))
        setHostTempo(time->tempo);

    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr)
        return;
    const auto bytes = static_cast<std::size_t>(sampleFrames) * sizeof(float);
    for (int channel = 0; channel < 2; ++channel)
    {
        const float* in = inputs[channel];
        float* out = outputs[channel];
        // Hosts may hand one buffer as input and output.
        if (in != nullptr && out != nullptr && in != out)
            std::memmove(out, in, bytes);
    }
}
