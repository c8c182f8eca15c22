// Opening the plug-in library by path, as a host does on each platform.
#include "support/TestPlugin.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

// The host library speaks UTF-8; std::filesystem would read a plain string in the
// Windows code page.
std::string utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A folder under the system's temporary folder, removed with everything in it.
class ScratchFolder
{
public:
    explicit ScratchFolder(const fs::path& name) : path(fs::temp_directory_path() / name)
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path path;
};
} // namespace

// Users keep plug-ins in folders named in their own language; a host hands the path on
// as the system gives it. An ANSI-only loader would not find this one on Windows.
TEST(Library, LoadsFromAFolderWithANonAsciiName)
{
    ScratchFolder folder(u8"TARVA Ünïcødé Ωμέγα 試験");
    const fs::path built = fromUtf8(besideProgram(TARVA_PLUGIN_PATH));
    const fs::path copy = folder.path / built.filename();
    fs::copy_file(built, copy);

    PluginLibrary library(utf8(copy));
    ASSERT_TRUE(library.isLoaded()) << library.error();
    FakeHost host;
    PluginInstance plugin(host, library.entry());
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin.effect()->uniqueID, 0x54525641);
}

TEST(Library, MissingLibraryOrNameGivesNoEntry)
{
    PluginLibrary missing(besideProgram("no-such-plugin.bin"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_FALSE(missing.error().empty());
    EXPECT_EQ(missing.entry(), nullptr);

    ASSERT_TRUE(pluginLibrary().isLoaded()) << pluginLibrary().error();
    EXPECT_EQ(pluginLibrary().entry("createEffectInstance"), nullptr);
    EXPECT_EQ(pluginLibrary().entry("VSTPluginMain2"), nullptr);
}
