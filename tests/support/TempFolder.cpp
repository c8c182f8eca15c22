#include "support/TempFolder.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

#if defined(_WIN32)
namespace
{
// The test's own registry key, as the store finds it through TARVA_REGISTRY_KEY.
class TestKey
{
public:
    TestKey()
    {
        const char* name = std::getenv("TARVA_REGISTRY_KEY");
        if (name == nullptr || ::RegOpenKeyExA(HKEY_CURRENT_USER, name, 0, KEY_READ | KEY_SET_VALUE,
                                               &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~TestKey()
    {
        if (key)
            ::RegCloseKey(key);
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    HKEY key = nullptr;
};

// Read through the wide-character call: the narrow one would convert a string value's
// UTF-16 text to the system's code page.
std::optional<std::vector<BYTE>> valueOfType(const std::string& name, DWORD wanted)
{
    TestKey test;
    const std::wstring wideName(name.begin(), name.end()); // value names are ASCII
    DWORD type = 0;
    DWORD size = 0;
    if (!test.key ||
        ::RegQueryValueExW(test.key, wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != wanted)
        return std::nullopt;
    std::vector<BYTE> bytes(size);
    if (::RegQueryValueExW(test.key, wideName.c_str(), nullptr, &type, bytes.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}
} // namespace

std::set<std::string> ScopedUserStore::storedNames() const
{
    std::set<std::string> names;
    TestKey test;
    char name[256];
    for (DWORD i = 0; test.key; ++i)
    {
        DWORD length = sizeof name;
        if (::RegEnumValueA(test.key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.insert(std::string(name, length));
    }
    return names;
}

std::optional<std::vector<std::byte>> ScopedUserStore::storedRecord(const std::string& name) const
{
    const auto bytes = valueOfType(name, REG_BINARY);
    if (!bytes)
        return std::nullopt;
    std::vector<std::byte> record(bytes->size());
    std::memcpy(record.data(), bytes->data(), bytes->size());
    return record;
}

// A string value holds UTF-16 text with its terminating zero.
std::optional<std::string> ScopedUserStore::storedText(const std::string& name) const
{
    const auto bytes = valueOfType(name, REG_SZ);
    if (!bytes || bytes->size() % 2 != 0)
        return std::nullopt;
    std::wstring wide(bytes->size() / 2, L'\0');
    std::memcpy(wide.data(), bytes->data(), bytes->size());
    if (wide.empty() || wide.back() != L'\0')
        return std::nullopt;
    wide.pop_back();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                          length, nullptr, nullptr);
    return text;
}

void ScopedUserStore::storeRecord(const std::string& name,
                                  const std::vector<std::byte>& bytes) const
{
    TestKey test;
    if (test.key)
        ::RegSetValueExA(test.key, name.c_str(), 0, REG_BINARY,
                         reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
}
#else
std::set<std::string> ScopedUserStore::storedNames() const
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(value(""), error))
        names.insert(entry.path().filename().string());
    return names;
}

std::optional<std::vector<std::byte>> ScopedUserStore::storedRecord(const std::string& name) const
{
    if (!std::filesystem::is_regular_file(value(name)))
        return std::nullopt;
    return readBytes(value(name));
}

// The text alone, without a terminator.
std::optional<std::string> ScopedUserStore::storedText(const std::string& name) const
{
    const auto bytes = storedRecord(name);
    if (!bytes)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

void ScopedUserStore::storeRecord(const std::string& name,
                                  const std::vector<std::byte>& bytes) const
{
    writeBytes(value(name), bytes);
}
#endif
