#include "support/TempFolder.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

TempFolder::TempFolder()
{
    // A name nobody else holds: create_directory fails on an existing folder.
    std::random_device entropy;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto candidate = base / ("tarva-test-" + std::to_string(entropy()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
        {
            folder = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

void setEnvironment(const char* name, const std::optional<std::string>& value)
{
#if defined(_WIN32)
    // An empty value removes the variable.
    ::_putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
#endif
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
    setEnvironment(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    setEnvironment(name.c_str(), previous);
}

#if defined(_WIN32)
ScopedRegistryKey::ScopedRegistryKey()
{
    std::random_device entropy;
    key = "SOFTWARE\\QEL-sonics-test\\" + std::to_string(entropy()) + std::to_string(entropy());
    if (const char* old = std::getenv("TARVA_REGISTRY_KEY"))
        previous = old;
    setEnvironment("TARVA_REGISTRY_KEY", key);
}

ScopedRegistryKey::~ScopedRegistryKey()
{
    setEnvironment("TARVA_REGISTRY_KEY", previous);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\QEL-sonics-test"); // once empty
}
#else
ScopedRegistryKey::ScopedRegistryKey() = default;
ScopedRegistryKey::~ScopedRegistryKey() = default;
#endif

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
