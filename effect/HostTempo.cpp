// The tempo the host's transport gives, taken once per block on the audio thread.
#include "effect/QEL.h"

#include <cmath>

void QEL::followHostTempo(const VstTimeInfo* time) noexcept
{
    // The tempo field counts only when the host marks it valid: a host without a transport
    // may answer with time info whose tempo was never filled in.
    const bool supplied =
        time != nullptr && (time->flags & kVstTempoValid) != 0 && std::isfinite(time->tempo);
    tempoFromHost = supplied;
    if (supplied)
        setHostTempo(time->tempo);
}
