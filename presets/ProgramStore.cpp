#include "presets/ProgramStore.h"

#include <cstring>
#include <thread>

namespace
{
bool isProgram(int program) noexcept
{
    return program >= 0 && program < kNumPrograms;
}
} // namespace

template <typename Write> void ProgramStore::write(Write&& change) noexcept
{
    writes.begin();
    change();
    writes.end();
}

// Copies until no write began or was under way while copying. Writes are a few dozen stores,
// so a retry is rare and short.
template <typename Read> void ProgramStore::readConsistent(Read&& copy) const noexcept
{
    for (;;)
    {
        const auto token = writes.settled();
        if (!token)
        {
            std::this_thread::yield(); // the writer may have been preempted mid-way
            continue;
        }
        copy();
        if (writes.unchangedSince(*token))
            return;
    }
}

void ProgramStore::setValue(int program, int control, float value) noexcept
{
    if (!isProgram(program) || !isControl(control))
        return;
    write([&] { programs[program].values[control].store(value); });
}

void ProgramStore::replace(int program, const ProgramRecord& record) noexcept
{
    if (!isProgram(program))
        return;
    write([&] { storeRecord(programs[program], record); });
}

void ProgramStore::replaceAll(const ProgramTable& table) noexcept
{
    write(
        [&]
        {
            for (int k = 0; k < kNumPrograms; ++k)
                storeRecord(programs[k], table[k]);
        });
}

void ProgramStore::rename(int program, const char* name) noexcept
{
    if (!isProgram(program))
        return;
    ProgramRecord named;
    storeProgramName(named, name);
    write([&] { storeName(programs[program], named); });
}

ProgramRecord ProgramStore::read(int program) const noexcept
{
    ProgramRecord record;
    if (isProgram(program))
        readConsistent([&] { record = loadRecord(programs[program]); });
    return record;
}

ProgramTable ProgramStore::readAll() const noexcept
{
    ProgramTable table;
    readConsistent(
        [&]
        {
            for (int k = 0; k < kNumPrograms; ++k)
                table[k] = loadRecord(programs[k]);
        });
    return table;
}

void ProgramStore::storeRecord(Cells& cells, const ProgramRecord& record) noexcept
{
    storeName(cells, record);
    for (int p = 0; p < kNumControls; ++p)
        cells.values[p] = record.values[p];
}

void ProgramStore::storeName(Cells& cells, const ProgramRecord& record) noexcept
{
    for (std::size_t w = 0; w < kNameWords; ++w)
    {
        std::uint32_t word;
        std::memcpy(&word, record.name.data() + 4 * w, 4);
        cells.name[w] = word;
    }
}

ProgramRecord ProgramStore::loadRecord(const Cells& cells) noexcept
{
    ProgramRecord record;
    for (std::size_t w = 0; w < kNameWords; ++w)
    {
        const std::uint32_t word = cells.name[w].load();
        std::memcpy(record.name.data() + 4 * w, &word, 4);
    }
    for (int p = 0; p < kNumControls; ++p)
        record.values[p] = cells.values[p];
    return record;
}
