#include "support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarva-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    folder = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : name(name)
{
    if (const char* old = std::getenv(name))
        previous = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (previous)
        ::setenv(name.c_str(), previous->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

std::vector<std::byte> readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i)
        bytes[i] = static_cast<std::byte>(chars[i]);
    return bytes;
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::byte>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
