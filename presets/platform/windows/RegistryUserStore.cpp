// The per-user store in the registry: key "SOFTWARE\QEL-sonics\TARVA" under
// HKEY_CURRENT_USER, records as binary values, paths as wide-character string values.
// TARVA_REGISTRY_KEY names another key under HKEY_CURRENT_USER instead, as
// XDG_CONFIG_HOME moves the Linux store: tests keep their values apart with it.
#include "presets/UserStore.h"

#include "presets/platform/windows/WideText.h"

#include <cstdlib>
#include <cstring>

namespace
{
constexpr const wchar_t* kKeyPath = L"SOFTWARE\\QEL-sonics\\TARVA";

const wchar_t* keyPath() noexcept
{
    const wchar_t* moved = ::_wgetenv(L"TARVA_REGISTRY_KEY");
    return moved != nullptr && moved[0] != L'\0' ? moved : kKeyPath;
}

// The value names are short ASCII texts: widened character by character.
class WideName
{
public:
    explicit WideName(const char* name) noexcept
    {
        for (std::size_t i = 0; i < kMaxChars && name[i] != '\0'; ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
    }
    const wchar_t* get() const noexcept { return text; }

private:
    static constexpr std::size_t kMaxChars = 15;
    wchar_t text[kMaxChars + 1] = {};
};

class Key
{
public:
    // Opened for the access given; a missing key leaves it closed.
    explicit Key(REGSAM access) noexcept
    {
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(), 0, access, &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    // Created when missing, for setting values.
    static Key forWriting() noexcept
    {
        Key created;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, &created.key, nullptr) != ERROR_SUCCESS)
            created.key = nullptr;
        return created;
    }
    Key(Key&& other) noexcept : key(other.key) { other.key = nullptr; }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    Key& operator=(Key&&) = delete;
    ~Key()
    {
        if (key != nullptr)
            ::RegCloseKey(key);
    }
    HKEY get() const noexcept { return key; }
    explicit operator bool() const noexcept { return key != nullptr; }

private:
    Key() noexcept = default;
    HKEY key = nullptr;
};
} // namespace

bool userStore::readRecord(const char* name, std::span<std::byte> record) noexcept
{
    std::memset(record.data(), 0, record.size());
    const Key key(KEY_QUERY_VALUE);
    if (!key)
        return false;
    DWORD size = static_cast<DWORD>(record.size());
    // A record is whole or it is not one: a shorter value must not load as zeros.
    if (::RegQueryValueExW(key.get(), WideName(name).get(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(record.data()), &size) == ERROR_SUCCESS &&
        size == record.size())
        return true;
    // A value longer than the record is not read, and the buffer's contents are then
    // undefined; a shorter one is refused. Either way the buffer goes back to zero.
    std::memset(record.data(), 0, record.size());
    return false;
}

bool userStore::writeRecord(const char* name, std::span<const std::byte> record) noexcept
{
    const Key key = Key::forWriting();
    // One call sets the whole value: readers see the old record or the new one.
    return key && ::RegSetValueExW(key.get(), WideName(name).get(), 0, REG_BINARY,
                                   reinterpret_cast<const BYTE*>(record.data()),
                                   static_cast<DWORD>(record.size())) == ERROR_SUCCESS;
}

bool userStore::deleteValue(const char* name) noexcept
{
    const Key key(KEY_SET_VALUE);
    return key && ::RegDeleteValueW(key.get(), WideName(name).get()) == ERROR_SUCCESS;
}

void userStore::readPath(const char* name, PathBuffer& text) noexcept
{
    text.fill('\0');
    const Key key(KEY_QUERY_VALUE);
    if (!key)
        return;
    // 257 wide characters as the value may hold (514 bytes), and one more zero that is
    // never read into, so the text ends even when the stored one has no terminator.
    wchar_t wide[kMaxPathChars + 2] = {};
    DWORD size = (kMaxPathChars + 1) * sizeof(wchar_t);
    if (::RegQueryValueExW(key.get(), WideName(name).get(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(wide), &size) != ERROR_SUCCESS)
        return;
    PathBuffer converted{};
    if (narrow(wide, converted))
        text = converted; // else empty: the path does not fit in 256 bytes of UTF-8
}

bool userStore::writePath(const char* name, const PathBuffer& text) noexcept
{
    // At most 256 UTF-8 bytes never take more than 256 UTF-16 units.
    wchar_t wide[kMaxPathChars + 1] = {};
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), -1, wide,
                                             static_cast<int>(kMaxPathChars + 1));
    if (length <= 0)
        return false;
    const Key key = Key::forWriting();
    // A string value with its terminating zero.
    return key && ::RegSetValueExW(key.get(), WideName(name).get(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(wide),
                                   static_cast<DWORD>(length) * sizeof(wchar_t)) == ERROR_SUCCESS;
}
