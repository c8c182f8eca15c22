// The file side of a render: while the plug-in works on one chunk of frames, a second
// thread writes the chunk before it and reads the chunk after it.
#pragma once

#include "AudioFile.h"

#include <functional>

// in holds got interleaved input frames (the reader's channel count), silence after them;
// out takes count interleaved stereo frames; start is the chunk's first frame in the render.
using ChunkProcessor =
    std::function<void(const float* in, long got, long count, long start, float* out)>;

// Renders frames frames in chunks of chunk frames (the input is silence once the reader's
// frames are used up), and tells progress how many frames are done after each chunk.
// Answers false when a write failed; the render stops there.
bool streamChunks(AudioReader& reader, AudioWriter& writer, long frames, long chunk,
                  const ChunkProcessor& process, const std::function<void(long)>& progress);
