// The state chunk a host saves with a project and hands back when it reopens it.
#include "support/TestPlugin.h"

#include <cstdint>
#include <cstring>

using Chunk = HostTest;

namespace
{
std::uint32_t word(const std::vector<std::byte>& chunk, std::size_t offset)
{
    std::uint32_t v;
    std::memcpy(&v, chunk.data() + offset, sizeof v);
    return v;
}

void putWord(std::vector<std::byte>& chunk, std::size_t offset, std::uint32_t v)
{
    std::memcpy(chunk.data() + offset, &v, sizeof v);
}

std::uint32_t swapped(std::uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
}

// The same state as a machine of the other byte order writes it.
std::vector<std::byte> otherByteOrder(std::vector<std::byte> chunk)
{
    for (std::size_t offset = 4; offset < 32; offset += 4)
        putWord(chunk, offset, swapped(word(chunk, offset)));
    for (int program = 0; program < 17; ++program)
        for (int value = 0; value < 18; ++value)
        {
            const std::size_t offset = 32 + 96 * program + 24 + 4 * value;
            putWord(chunk, offset, swapped(word(chunk, offset)));
        }
    for (std::size_t offset = 1664; offset < 1736; offset += 4)
        putWord(chunk, offset, swapped(word(chunk, offset)));
    return chunk; // the marker's bytes read 00 00 00 01 in either order
}
} // namespace

TEST_F(Chunk, Layout)
{
    const auto chunk = plugin->getChunk();
    ASSERT_EQ(chunk.size(), 1736u);
    const std::byte marker[4] = {std::byte{0}, std::byte{0}, std::byte{0}, std::byte{1}};
    EXPECT_EQ(std::memcmp(chunk.data(), marker, 4), 0);
    EXPECT_EQ(word(chunk, 4), 0x54525641u); // "TRVA", native order
    EXPECT_EQ(word(chunk, 8), 17u);
    EXPECT_EQ(word(chunk, 12), 0u);
    for (std::size_t i = 16; i < 32; ++i)
        EXPECT_EQ(chunk[i], std::byte{0});
    EXPECT_EQ(std::memcmp(chunk.data() + 32, "default\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 24), 0);
    EXPECT_EQ(std::memcmp(chunk.data() + 32 + 96, "wiper", 6), 0);
    float first;
    std::memcpy(&first, chunk.data() + 1664, 4);
    EXPECT_EQ(first, (102 + 0.5f) / 129);
}

TEST_F(Chunk, PresetAndBankRequestsGetTheSameBytes)
{
    EXPECT_EQ(plugin->getChunk(true), plugin->getChunk(false));
}

TEST_F(Chunk, SaveLoadSaveGivesTheSameBytes)
{
    plugin->setParameter(kMix, 0.3f);
    plugin->setParameter(kFbck, 0.6f);
    plugin->setParameter(18 + kRate, (7 + 0.5f) / 129);
    char name[] = "my echo";
    plugin->dispatch(effSetProgramName, 0, 0, name);
    const auto saved = plugin->getChunk();

    PluginInstance reopened(host, pluginLibrary().entry());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened.setChunk(saved), 0);
    EXPECT_EQ(reopened.getChunk(), saved);
    EXPECT_EQ(reopened.programName(), "my echo");
    EXPECT_EQ(reopened.getParameter(kMix), 0.3f);
    EXPECT_EQ(reopened.getParameter(kFbck), 0.6f);
}

TEST_F(Chunk, ChunkHandedBackInOurOwnBufferLoads)
{
    plugin->setParameter(kMix, 0.2f);
    void* data = nullptr;
    const VstIntPtr size = plugin->dispatch(effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 1736);
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, size, data), 0);
    EXPECT_EQ(plugin->getParameter(kMix), 0.2f);
}

TEST_F(Chunk, ReloadSelectsTheStoredProgram)
{
    auto chunk = plugin->getChunk();
    putWord(chunk, 12, 2); // "8th fast tape", a clocked program
    EXPECT_EQ(plugin->setChunk(chunk), 0);
    EXPECT_EQ(plugin->programName(), "8th fast tape");
    EXPECT_EQ(plugin->parameterDisplay(kDlyTime), "250");
    EXPECT_EQ(plugin->parameterDisplay(kDlyClk), "clk");
}

TEST_F(Chunk, OtherByteOrderLoads)
{
    plugin->setParameter(kMix, 0.3f);
    plugin->setParameter(18 + kMix, (64 + 0.5f) / 129);
    auto native = plugin->getChunk();
    putWord(native, 12, 5);
    const auto foreign = otherByteOrder(native);
    ASSERT_NE(foreign, native);

    PluginInstance other(host, pluginLibrary().entry());
    ASSERT_TRUE(other);
    EXPECT_EQ(other.setChunk(foreign), 0);
    EXPECT_EQ(other.getChunk(), native); // written back in this machine's order
    EXPECT_EQ(other.programName(), "light flanger");
    EXPECT_EQ(other.getParameter(18 + kMix), (64 + 0.5f) / 129);
}

TEST_F(Chunk, RejectedChunksChangeNothing)
{
    plugin->setParameter(kMix, 0.3f);
    const auto before = plugin->getChunk();
    auto good = before;
    putWord(good, 12, 3);
    for (std::size_t i = 32; i < 1664; i += 96)
        good[i] = std::byte{'X'}; // every name changed, so any partial load would show

    std::vector<std::byte> shortChunk(good.begin(), good.end() - 1);
    auto longChunk = good;
    longChunk.push_back(std::byte{0});
    auto otherPlugin = good;
    putWord(otherPlugin, 4, 0x41424344);
    auto badMarker = good;
    badMarker[3] = std::byte{2};
    auto badCount = good;
    putWord(badCount, 8, 16);

    for (const auto* chunk : {&shortChunk, &longChunk, &otherPlugin, &badMarker, &badCount})
    {
        EXPECT_EQ(plugin->setChunk(*chunk), -1);
        EXPECT_EQ(plugin->getChunk(), before);
    }
    EXPECT_EQ(plugin->getParameter(kMix), 0.3f);
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, 1736, nullptr), -1);
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, -5, good.data()), -1);
}

TEST_F(Chunk, CurrentProgramOutsideTheStoreLoadsProgramsButSelectsNone)
{
    plugin->setParameter(kMix, 0.3f);
    for (std::uint32_t current : {17u, 0xffffffffu})
    {
        auto chunk = plugin->getChunk();
        putWord(chunk, 12, current);
        std::memcpy(chunk.data() + 32 + 96 * 4, "renamed\0", 8);
        EXPECT_EQ(plugin->setChunk(chunk), 0);
        EXPECT_EQ(plugin->programNameIndexed(4), "renamed");
        EXPECT_EQ(plugin->programName(), "default"); // still program 0
        EXPECT_EQ(plugin->getParameter(kMix), 0.3f); // nothing applied
    }
}

TEST_F(Chunk, NaNValuesInAChunkLoadAsZero)
{
    auto chunk = plugin->getChunk();
    putWord(chunk, 32 + 24 + 4 * kMix, 0x7fc00000u);
    putWord(chunk, 1664 + 4 * kRate, 0x7fc00000u);
    EXPECT_EQ(plugin->setChunk(chunk), 0);
    EXPECT_EQ(plugin->getParameter(kMix), 0.0f);
    EXPECT_EQ(plugin->getParameter(18 + kRate), 0.0f);
}
