#include "presets/ProgramRecord.h"

#include "presets/ByteOrder.h"

#include <cstring>

void storeProgramName(ProgramRecord& program, const char* text) noexcept
{
    program.name.fill('\0');
    if (text == nullptr)
        return;
    std::size_t length = 0;
    while (length < kProgramNameBytes && text[length] != '\0')
        ++length;
    std::memcpy(program.name.data(), text, length);
}

void copyProgramName(const ProgramRecord& program, char* text) noexcept
{
    std::memcpy(text, program.name.data(), kProgramNameBytes);
    text[kProgramNameBytes] = '\0';
}

void writeProgramRecord(std::byte* out, const ProgramRecord& program) noexcept
{
    std::memcpy(out, program.name.data(), kProgramNameBytes);
    for (std::size_t i = 0; i < program.values.size(); ++i)
        storeFloat(out + kProgramNameBytes + 4 * i, program.values[i]);
}

ProgramRecord readProgramRecord(const std::byte* in, bool swapped) noexcept
{
    ProgramRecord program;
    std::memcpy(program.name.data(), in, kProgramNameBytes);
    for (std::size_t i = 0; i < program.values.size(); ++i)
        program.values[i] = nanToZero(loadFloat(in + kProgramNameBytes + 4 * i, swapped));
    return program;
}
