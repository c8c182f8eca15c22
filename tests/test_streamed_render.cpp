// The renderer's file side: chunks read ahead and written behind on a second thread must
// still reach the file whole, in order, with silence once the input is used up.
#include "StreamedRender.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Call
{
    long got, count, start;
};

AudioData numbered(int channels, long frames)
{
    AudioData audio;
    audio.channels = channels;
    for (long i = 0; i < frames * channels; ++i)
        audio.frames.push_back(static_cast<float>(i + 1) / 65536.0f);
    return audio;
}

// Streams input through a processor that passes the first channel to the left output
// and the last to the right; answers what reached the file.
AudioData streamThrough(const AudioData& input, long frames, long chunk, std::vector<Call>& calls,
                        std::vector<long>& progress)
{
    TempFolder folder;
    const std::string path = folder.file("out.wav");
    auto reader = memoryAudioReader(input);
    AudioWriter writer;
    EXPECT_EQ(writer.open(path, input.sampleRate, 2), "");
    const int channels = input.channels;
    const bool complete = streamChunks(
        *reader, writer, frames, chunk,
        [&](const float* in, long got, long count, long start, float* out)
        {
            calls.push_back({got, count, start});
            for (long i = 0; i < count; ++i)
            {
                out[2 * i] = i < got ? in[i * channels] : 0.0f;
                out[2 * i + 1] = i < got ? in[i * channels + channels - 1] : 0.0f;
            }
        },
        [&](long done) { progress.push_back(done); });
    EXPECT_TRUE(complete);
    EXPECT_EQ(writer.close(), "");
    AudioData written;
    EXPECT_EQ(readAudioFile(path, written), "");
    return written;
}
} // namespace

TEST(StreamedRender, EveryFrameReachesTheFileOnceInOrderThenSilence)
{
    for (const int channels : {1, 2})
    {
        SCOPED_TRACE(channels);
        const long inputFrames = 1000, frames = 1333, chunk = 128;
        const AudioData input = numbered(channels, inputFrames);
        std::vector<Call> calls;
        std::vector<long> progress;
        const AudioData written = streamThrough(input, frames, chunk, calls, progress);

        ASSERT_EQ(written.channels, 2);
        ASSERT_EQ(written.frameCount(), frames);
        for (long i = 0; i < frames; ++i)
        {
            const bool heard = i < inputFrames;
            const auto at = static_cast<std::size_t>(i * channels);
            const auto out = static_cast<std::size_t>(2 * i);
            ASSERT_EQ(written.frames[out], heard ? input.frames[at] : 0.0f) << i;
            ASSERT_EQ(written.frames[out + 1], heard ? input.frames[at + channels - 1] : 0.0f) << i;
        }
        // Chunks follow one another; the last is short; input runs out inside chunk 7.
        ASSERT_EQ(calls.size(), 11u);
        for (std::size_t k = 0; k < calls.size(); ++k)
        {
            const long start = static_cast<long>(k) * chunk;
            EXPECT_EQ(calls[k].start, start);
            EXPECT_EQ(calls[k].count, std::min(chunk, frames - start));
            EXPECT_EQ(calls[k].got, std::clamp(inputFrames - start, 0L, chunk));
            EXPECT_EQ(progress[k], start + calls[k].count);
        }
    }
}

TEST(StreamedRender, NothingToRenderWritesAnEmptyFile)
{
    std::vector<Call> calls;
    std::vector<long> progress;
    const AudioData written = streamThrough(numbered(2, 50), 0, 64, calls, progress);
    EXPECT_EQ(written.frameCount(), 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(progress.empty());
}
