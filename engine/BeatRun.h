// The beat lamp's counter over a block of samples, worked out before the signal path runs.
#pragma once

#include "host/vst2.h"

#include <algorithm>

namespace engine
{
// The beat lamp over a block. The delay-period counter goes up by one per sample and
// starts again from 0 on the sample where it passes the period's length (and on the
// first sample where the block starts on a boundary); the lamp is lit while the counter
// is within the flash window of either end of the period. Only integers: the whole block
// is worked out at once, a stretch between boundaries at a time.
struct BeatRun
{
    int counter;            // at the end of the block
    int flashActive;        // on the block's last sample
    bool flashed;           // lit on any sample of the block
    VstInt32 firstBoundary; // the first sample that starts a period again, or -1
};

inline BeatRun runBeat(int counter, bool boundaryAtStart, VstInt32 frames, int periodLength,
                       int flashWindow, int flashActive)
{
    const long long flashLimit = static_cast<long long>(periodLength) - flashWindow;
    const auto lit = [&](long long value) { return value < flashWindow || value > flashLimit; };
    BeatRun run{counter, flashActive, false, -1};
    VstInt32 i = 0;
    if (boundaryAtStart && frames > 0)
    {
        run.flashActive = lit(static_cast<long long>(run.counter) + 1) ? 1 : 0;
        run.flashed = run.flashActive != 0;
        run.counter = 0;
        run.firstBoundary = 0;
        i = 1;
    }
    while (i < frames)
    {
        // The counter's values on this stretch run from counter + 1 to counter + span; the
        // last of them passes the period's length unless the block ends first.
        const long long first = static_cast<long long>(run.counter) + 1;
        const long long toBoundary =
            std::max(0LL, static_cast<long long>(periodLength) - run.counter);
        const long long span = std::min(toBoundary + 1, static_cast<long long>(frames - i));
        const long long last = static_cast<long long>(run.counter) + span;
        if (first < flashWindow || last > flashLimit)
            run.flashed = true;
        run.flashActive = lit(last) ? 1 : 0;
        i += static_cast<VstInt32>(span);
        if (last > periodLength)
        {
            run.counter = 0;
            if (run.firstBoundary < 0)
                run.firstBoundary = i - 1;
        }
        else
        {
            run.counter = static_cast<int>(last);
        }
    }
    return run;
}

} // namespace engine
