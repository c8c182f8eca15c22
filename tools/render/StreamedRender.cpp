#include "StreamedRender.h"

#include <algorithm>
#include <future>
#include <utility>
#include <vector>

namespace
{
struct ChunkBuffers
{
    std::vector<float> in;
    std::vector<float> out;
    long got = 0; // input frames in `in`
};

// The input frames of the chunk [start, start + count) that the file still has.
long readChunk(AudioReader& reader, ChunkBuffers& buffers, long start, long count)
{
    const long wanted = std::max(0L, std::min(count, reader.frameCount() - start));
    return wanted > 0 ? reader.read(buffers.in.data(), wanted) : 0;
}
} // namespace

bool streamChunks(AudioReader& reader, AudioWriter& writer, long frames, long chunk,
                  const ChunkProcessor& process, const std::function<void(long)>& progress)
{
    const auto size = static_cast<std::size_t>(chunk);
    ChunkBuffers now{std::vector<float>(size * static_cast<std::size_t>(reader.channels())),
                     std::vector<float>(size * 2)};
    ChunkBuffers behind = now; // the chunk written while `now` is processed, then read into
    now.got = readChunk(reader, now, 0, std::min(chunk, frames));

    long done = 0;
    long unwritten = 0; // frames of `behind.out` not yet in the file
    while (done < frames)
    {
        const long count = std::min(chunk, frames - done);
        const long nextCount = std::min(chunk, frames - done - count);
        // Only this job touches the reader, the writer and `behind` until get() below.
        auto fileAccess = std::async(
            std::launch::async,
            [&, unwritten, nextStart = done + count]
            {
                const bool wrote = unwritten == 0 || writer.write(behind.out.data(), unwritten);
                behind.got =
                    nextCount > 0 && wrote ? readChunk(reader, behind, nextStart, nextCount) : 0;
                return wrote;
            });
        process(now.in.data(), now.got, count, done, now.out.data());
        if (!fileAccess.get())
            return false;
        done += count;
        unwritten = count;
        std::swap(now, behind);
        progress(done);
    }
    return unwritten == 0 || writer.write(behind.out.data(), unwritten);
}
