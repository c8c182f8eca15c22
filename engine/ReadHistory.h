// The interpolation histories of the memory's write and read sides, loaded into the sample
// loop's registers at the start of a block and stored back at its end.
#pragma once

#include "engine/StereoPair.h"

#include <array>

namespace engine
{
inline HistoryPair loadHistory(const std::array<float, 4>& left, const std::array<float, 4>& right)
{
    return {widen(makePair(left[0], right[0])), widen(makePair(left[1], right[1])),
            widen(makePair(left[2], right[2])), widen(makePair(left[3], right[3]))};
}

inline void storeHistory(const HistoryPair& h, std::array<float, 4>& left,
                         std::array<float, 4>& right)
{
    storePair(&left[0], &right[0], narrow(h.p0));
    storePair(&left[1], &right[1], narrow(h.p1));
    storePair(&left[2], &right[2], narrow(h.p2));
    storePair(&left[3], &right[3], narrow(h.p3));
}
} // namespace engine
