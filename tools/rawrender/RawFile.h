// Raw 32-bit float files in this machine's byte order, read and written whole.
#pragma once

#include <cstdio>
#include <vector>

inline bool readRawFile(const char* path, std::vector<float>& samples)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    float buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, sizeof(float), 4096, file)) > 0)
        samples.insert(samples.end(), buffer, buffer + got);
    std::fclose(file);
    return true;
}

inline bool writeRawFile(const char* path, const std::vector<float>& samples)
{
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    const bool written =
        std::fwrite(samples.data(), sizeof(float), samples.size(), file) == samples.size();
    return std::fclose(file) == 0 && written;
}
