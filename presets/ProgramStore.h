// The 17 programs of an instance, shared by every thread that touches them: the audio
// thread and the host's threads write single values (automation, MIDI controllers), the
// host and the editor replace or rename whole programs, and the host saves them all.
//
// Every cell is an atomic, so no write can tear a value or a name. Readers of whole
// programs get a consistent copy through a change count: a reader that sees the count
// move while it copies copies again. Writers never wait, so the audio thread may write;
// only readers retry.
#pragma once

#include "effect/ChangeCount.h"
#include "effect/RelaxedAtomic.h"
#include "presets/StateChunk.h"

#include <array>
#include <atomic>
#include <cstdint>

class ProgramStore
{
public:
    // Every program empty: no name, all values 0.
    ProgramStore() noexcept = default;
    ProgramStore(const ProgramStore&) = delete;
    ProgramStore& operator=(const ProgramStore&) = delete;

    // Any thread, the audio thread included: one control value of one program.
    void setValue(int program, int control, float value) noexcept;

    // Whole programs, from the host's and the editor's threads.
    void replace(int program, const ProgramRecord& record) noexcept;
    void replaceAll(const ProgramTable& table) noexcept;
    // Names the program by the rule of every name writer (24 bytes, no terminator then).
    void rename(int program, const char* name) noexcept;

    // Consistent copies, from any thread but the audio thread (they may retry).
    [[nodiscard]] ProgramRecord read(int program) const noexcept;
    [[nodiscard]] ProgramTable readAll() const noexcept;

private:
    static constexpr std::size_t kNameWords = kProgramNameBytes / 4;
    static_assert(kProgramNameBytes % 4 == 0);

    struct Cells
    {
        std::array<RelaxedAtomic<std::uint32_t>, kNameWords> name{};
        std::array<RelaxedAtomic<float>, kNumControls> values{};
    };

    template <typename Write> void write(Write&& change) noexcept;
    template <typename Read> void readConsistent(Read&& copy) const noexcept;
    void storeRecord(Cells& cells, const ProgramRecord& record) noexcept;
    static void storeName(Cells& cells, const ProgramRecord& record) noexcept;
    static ProgramRecord loadRecord(const Cells& cells) noexcept;

    std::array<Cells, kNumPrograms> programs{};
    ChangeCount writes;
};
