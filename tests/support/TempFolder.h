// Temporary folders and environment settings that undo themselves.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A fresh, empty folder under the system's temporary folder, removed with all its contents.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return folder; }
    // The path of an entry in the folder, as text.
    std::string file(const std::string& name) const { return (folder / name).string(); }

private:
    std::filesystem::path folder;
};

// Paths in UTF-8, as the plug-in keeps them, whatever the system's narrow code page.
inline std::filesystem::path fromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string toUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Sets (or, given nothing, unsets) an environment variable.
void setEnvironment(const char* name, const std::optional<std::string>& value);

// Sets (or, given nothing, unsets) an environment variable until the end of the scope.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name;
    std::optional<std::string> previous;
};

// A registry key of its own under HKEY_CURRENT_USER\SOFTWARE\QEL-sonics-test, named in
// TARVA_REGISTRY_KEY while the object lives and deleted with everything in it afterwards.
// (Only the Windows build keeps its store in the registry.)
class ScopedRegistryKey
{
public:
    ScopedRegistryKey();
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

private:
    std::string key;
    std::optional<std::string> previous;
};

// A per-user store of its own for one test: XDG_CONFIG_HOME points at a fresh folder
// (and, on Windows, the registry store at a fresh key).
class ScopedUserStore
{
public:
    ScopedUserStore() : configHome("XDG_CONFIG_HOME", home.path().string()) {}
    // Where the plug-in keeps the value of that name on Linux.
    std::filesystem::path value(const std::string& name) const
    {
        return home.path() / "QEL-sonics" / "TARVA" / name;
    }

    // The stored values as the store keeps them, whatever the platform: the names; a
    // record's bytes (a binary value in the registry); a path's text in UTF-8 (a string
    // value in the registry, a file of the text alone elsewhere). Nothing when the value is
    // missing or, in the registry, of another type.
    std::set<std::string> storedNames() const;
    std::optional<std::vector<std::byte>> storedRecord(const std::string& name) const;
    std::optional<std::string> storedText(const std::string& name) const;
    // Stores bytes as a record value, as another program or a damaged disk might have.
    void storeRecord(const std::string& name, const std::vector<std::byte>& bytes) const;

private:
    TempFolder home;
    ScopedEnvironment configHome;
#if defined(_WIN32)
    ScopedRegistryKey registryKey;
#endif
};

std::vector<std::byte> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<std::byte>& bytes);
