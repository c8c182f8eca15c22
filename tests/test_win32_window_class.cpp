// The editor's Win32 window class lives no longer than the windows that need it, nor than
// the library that registered it: a class left behind would hand a library loaded later at
// the same address a window procedure that is gone. Real windows: run on a display (wine
// under Xvfb, tests/with-xvfb.sh).
#include "FakeHost.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>

namespace
{
const wchar_t kEditorClass[] = L"TARVAFrameWindow";

HINSTANCE moduleOf(VstEntryProc entry)
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(entry), &module);
    return module;
}

bool classRegistered(HINSTANCE module)
{
    WNDCLASSEXW found{};
    found.cbSize = sizeof found;
    return GetClassInfoExW(module, kEditorClass, &found) != FALSE;
}

// A host's own top-level window, hidden: the parent an editor opens in.
class ParentWindow
{
public:
    ParentWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TarvaTestHost";
        RegisterClassW(&windowClass); // once per process; later calls fail harmlessly
        window = CreateWindowExW(0, L"TarvaTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 900, 150,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~ParentWindow() { destroy(); }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    void destroy()
    {
        if (window != nullptr)
            DestroyWindow(window);
        window = nullptr;
    }
    HWND editorWindow() const { return FindWindowExW(window, nullptr, kEditorClass, nullptr); }

    HWND window = nullptr;
};

std::string pluginPath()
{
    return besideProgram(TARVA_PLUGIN_PATH);
}
} // namespace

TEST(Win32WindowClass, IsRegisteredOnlyWhileAnEditorWindowExists)
{
    PluginLibrary library(pluginPath());
    ASSERT_TRUE(library.isLoaded()) << library.error();
    const HINSTANCE module = moduleOf(library.entry());
    FakeHost host;
    PluginInstance first(host, library.entry());
    PluginInstance second(host, library.entry());
    ASSERT_TRUE(first && second);
    ParentWindow firstParent, secondParent;
    ASSERT_NE(firstParent.window, nullptr) << "no window: is DISPLAY set?";

    ASSERT_EQ(first.dispatch(effEditOpen, 0, 0, firstParent.window), 1);
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, secondParent.window), 1);
    EXPECT_NE(firstParent.editorWindow(), nullptr);
    EXPECT_TRUE(classRegistered(module));
    first.dispatch(effEditClose);
    EXPECT_EQ(firstParent.editorWindow(), nullptr);
    EXPECT_TRUE(classRegistered(module)) << "the other editor's window still needs it";
    second.dispatch(effEditClose);
    EXPECT_FALSE(classRegistered(module));

    // Opened again, the editor registers the class again and gets its window.
    ASSERT_EQ(first.dispatch(effEditOpen, 0, 0, firstParent.window), 1);
    EXPECT_NE(firstParent.editorWindow(), nullptr);
    EXPECT_TRUE(classRegistered(module));
    first.dispatch(effEditClose);
    EXPECT_FALSE(classRegistered(module));

    // A host that destroys its window, and the editor's with it, before closing the editor.
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, secondParent.window), 1);
    secondParent.destroy();
    second.dispatch(effEditClose);
    EXPECT_FALSE(classRegistered(module));
}

// A copy of its own, so that unloading really unloads it: the test run's other instances
// keep the library in the build folder loaded.
TEST(Win32WindowClass, GoesWithTheLibraryEvenWhenTheEditorWasNeverClosed)
{
    TempFolder folder;
    const std::string copy = folder.file("TARVA-copy.dll");
    std::filesystem::copy_file(fromUtf8(pluginPath()), fromUtf8(copy));
    FakeHost host;
    HINSTANCE unloaded = nullptr;
    {
        PluginLibrary library(copy);
        ASSERT_TRUE(library.isLoaded()) << library.error();
        unloaded = moduleOf(library.entry());
        // A careless host: it destroys its window and unloads the library, leaving the
        // instance open with its editor.
        AEffect* effect = host.create(library.entry());
        ASSERT_NE(effect, nullptr);
        ParentWindow parent;
        ASSERT_EQ(effect->dispatcher(effect, effEditOpen, 0, 0, parent.window, 0.0f), 1);
        parent.destroy();
        EXPECT_TRUE(classRegistered(unloaded));
    }
    EXPECT_FALSE(classRegistered(unloaded));

    // Loaded again, most likely at the same address, the editor opens as it should.
    PluginLibrary library(copy);
    ASSERT_TRUE(library.isLoaded()) << library.error();
    PluginInstance plugin(host, library.entry());
    ParentWindow parent;
    ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, parent.window), 1);
    EXPECT_NE(parent.editorWindow(), nullptr);
    plugin.dispatch(effEditClose);
    plugin.close();
}
