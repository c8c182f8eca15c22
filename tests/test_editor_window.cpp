// The built plug-in's editor in a real X11 window, driven only through its AEffect record
// as a host drives it (effEditOpen with a parent window, effEditIdle, effEditClose), with
// xdotool moving the pointer in a private Xvfb. While the program menu or a file selector
// is open, the host's idle calls keep returning at once; closing the editor ends either.
// The file selector is a stand-in zenity on the PATH that waits until the test answers, or,
// with nothing on the PATH, the plug-in's own chooser.
#include "FakeHost.h"
#include "HostPrograms.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros (None, Bool, Status) would break its headers.
#include "support/Xvfb.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Generous: the machine may be busy. Nothing waits this long unless something is wrong.
constexpr auto kTimeout = std::chrono::seconds(20);
// An idle call that takes longer than this has kept the host's user interface waiting for
// the user: one that waited for an answer would take the stand-in's half minute. Far above
// any drawing, so that a busy machine that preempts the test cannot fail it.
constexpr auto kSlowIdle = milliseconds(1000);

PluginLibrary& library()
{
    static PluginLibrary loaded(TARVA_PLUGIN_PATH);
    return loaded;
}

// Points inside the preset strip's controls.
constexpr int kSavePresetX = 122;
constexpr int kLoadPresetX = 185;
constexpr int kProgramMenuX = 326;
constexpr int kStripY = 93;
constexpr int kMenuRowHeight = 16;

// zenity as far as the plug-in can tell: it writes its process id, waits until the test
// writes the answer (gives up after half a minute, so that a plug-in that waits for it
// fails the test rather than hangs it), then prints the answer as its choice.
// clang-format off
const char* const kStandIn = R"sh(#!/bin/sh
dir="$(dirname "$0")"
echo $$ > "$dir/pid.new" && mv "$dir/pid.new" "$dir/pid"
tries=0
while [ ! -e "$dir/answer" ]; do
    sleep 0.02
    tries=$((tries + 1))
    [ $tries -lt 1500 ] || exit 1
done
cat "$dir/answer"
rm -f "$dir/answer"
)sh";
// clang-format on

class PluginWindowTest : public XvfbTest
{
protected:
    void SetUp() override
    {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(library().isLoaded()) << library().error();

        std::filesystem::create_directory(bin());
        std::ofstream(bin() / "zenity") << kStandIn;
        std::filesystem::permissions(bin() / "zenity", std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        searchPath.emplace("PATH", bin().string() + ":" + (path ? path : "/usr/bin:/bin"));

        plugin.emplace(fakeHost, library().entry());
        ASSERT_TRUE(*plugin);
        plugin->dispatch(effOpen);
        ERect* rect = nullptr;
        ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);

        host = XOpenDisplay(nullptr);
        ASSERT_NE(host, nullptr);
        XSetWindowAttributes attributes{};
        attributes.event_mask = StructureNotifyMask;
        hostWindow = XCreateWindow(
            host, DefaultRootWindow(host), 0, 0, static_cast<unsigned>(rect->right - rect->left),
            static_cast<unsigned>(rect->bottom - rect->top), 0, CopyFromParent, InputOutput,
            CopyFromParent, CWEventMask, &attributes);
        XMapWindow(host, hostWindow);
        XEvent event;
        do
            XWindowEvent(host, hostWindow, StructureNotifyMask, &event);
        while (event.type != MapNotify);
        openEditor();
    }

    void TearDown() override
    {
        plugin.reset(); // closes a window the test left open
        if (host != nullptr)
        {
            XDestroyWindow(host, hostWindow);
            XCloseDisplay(host);
        }
    }

    std::filesystem::path bin() const { return folder.path() / "bin"; }

    void openEditor()
    {
        ASSERT_EQ(
            plugin->dispatch(effEditOpen, 0, 0,
                             reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow))),
            1);
        pump(milliseconds(200)); // the first full drawing is not what is measured
        slowestIdle = {};
    }

    // The host's idle timer: one effEditIdle, timed.
    void idle()
    {
        const auto start = Clock::now();
        plugin->dispatch(effEditIdle);
        slowestIdle = std::max(slowestIdle, Clock::now() - start);
    }

    // Runs the host's idle loop until the condition holds; answers the condition.
    template <typename Condition> bool pumpUntil(Condition condition)
    {
        const auto end = Clock::now() + kTimeout;
        while (Clock::now() < end)
        {
            idle();
            if (condition())
                return true;
            std::this_thread::sleep_for(milliseconds(10));
        }
        return condition();
    }

    void pump(Clock::duration howLong)
    {
        const auto end = Clock::now() + howLong;
        pumpUntil([&] { return Clock::now() >= end; });
    }

    static void xdotool(const std::string& arguments)
    {
        ASSERT_EQ(std::system(("xdotool " + arguments + " >/dev/null").c_str()), 0) << arguments;
    }

    void clickInEditor(int x, int y)
    {
        xdotool("mousemove --window " + std::to_string(hostWindow) + " " + std::to_string(x) + " " +
                std::to_string(y) + " click 1");
    }

    std::optional<XRectangle> openProgramMenu()
    {
        std::optional<XRectangle> popup;
        clickInEditor(kProgramMenuX, kStripY);
        pumpUntil([&] { return (popup = findPopup(host)).has_value(); });
        return popup;
    }

    // Clicks the strip's button and waits for the stand-in to say it runs; its process id.
    pid_t startFileSelector(int x)
    {
        std::filesystem::remove(bin() / "pid");
        clickInEditor(x, kStripY);
        if (!pumpUntil([&] { return std::filesystem::exists(bin() / "pid"); }))
            return -1;
        pid_t pid = -1;
        std::ifstream(bin() / "pid") >> pid;
        return pid;
    }

    void answerFileSelector(const std::string& path)
    {
        std::ofstream(bin() / "answer.new") << path << "\n";
        std::filesystem::rename(bin() / "answer.new", bin() / "answer");
    }

    // The plug-in keeps its programs inside: a host selects one through the state chunk.
    int program() { return currentProgram(*plugin).value_or(-1); }
    void select(int index) { ASSERT_TRUE(selectProgram(*plugin, index)); }

    TempFolder folder;
    // No session bus: the desktop's own chooser, on a developer's machine, must not answer
    // in place of the stand-in.
    ScopedEnvironment noSessionBus{"DBUS_SESSION_BUS_ADDRESS", std::nullopt};
    std::optional<ScopedEnvironment> searchPath;
    FakeHost fakeHost;
    std::optional<PluginInstance> plugin;
    Display* host = nullptr;
    Window hostWindow = 0;
    Clock::duration slowestIdle{};
};

// Whether that child of the test process is gone and reaped: a zombie still takes signals.
bool reaped(pid_t pid)
{
    return kill(pid, 0) != 0 && errno == ESRCH && waitpid(pid, nullptr, WNOHANG) < 0 &&
           errno == ECHILD;
}

long long inMs(Clock::duration duration)
{
    return std::chrono::duration_cast<milliseconds>(duration).count();
}
} // namespace

TEST_F(PluginWindowTest, TheProgramMenuLeavesIdleFreeAppliesTheChoiceAndClosesWithTheEditor)
{
    select(0);
    auto popup = openProgramMenu();
    ASSERT_TRUE(popup) << "no menu popped up";
    pump(milliseconds(300)); // the user looks at the menu; the host carries on
    ASSERT_TRUE(findPopup(host));
    xdotool("mousemove " + std::to_string(popup->x + 30) + " " +
            std::to_string(popup->y + 5 * kMenuRowHeight + kMenuRowHeight / 2) + " click 1");
    EXPECT_TRUE(pumpUntil([&] { return program() == 5 && !findPopup(host); }))
        << "program " << program();
    EXPECT_LT(slowestIdle, kSlowIdle) << inMs(slowestIdle) << " ms";

    // Closed while the menu is up: the menu goes with the editor and lets go of the
    // pointer and keyboard; the program stays, and the editor opens again as before.
    ASSERT_TRUE(openProgramMenu()) << "no menu popped up again";
    plugin->dispatch(effEditClose);
    EXPECT_FALSE(findPopup(host));
    EXPECT_EQ(XGrabPointer(host, DefaultRootWindow(host), False, ButtonPressMask, GrabModeAsync,
                           GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    EXPECT_EQ(XGrabKeyboard(host, DefaultRootWindow(host), False, GrabModeAsync, GrabModeAsync,
                            CurrentTime),
              GrabSuccess);
    XUngrabKeyboard(host, CurrentTime);
    XUngrabPointer(host, CurrentTime);
    XSync(host, False);
    openEditor();
    ASSERT_TRUE(openProgramMenu()) << "no menu after reopening";
    EXPECT_EQ(program(), 5);
    EXPECT_LT(slowestIdle, kSlowIdle) << inMs(slowestIdle) << " ms";

    // The host releases the plug-in with its editor and the menu still open.
    plugin.reset();
    EXPECT_FALSE(findPopup(host));
}

TEST_F(PluginWindowTest, TheFileSelectorLeavesIdleFreeItsFileIsUsedAndItEndsWithTheEditor)
{
    // Program 5 saved to a file, then loaded into program 2.
    select(5);
    const std::string fiveName = plugin->programName();
    const std::string saved = folder.file("five.qel");
    const pid_t saving = startFileSelector(kSavePresetX);
    ASSERT_GT(saving, 0) << "the selector did not start";
    pump(milliseconds(300)); // the user looks for a folder; the host carries on
    ASSERT_EQ(kill(saving, 0), 0) << "the selector ended by itself";
    answerFileSelector(saved);
    ASSERT_TRUE(pumpUntil([&] { return std::filesystem::exists(saved); }));
    EXPECT_TRUE(pumpUntil([&] { return reaped(saving); }));

    select(2);
    ASSERT_NE(plugin->programName(), fiveName);
    const pid_t loading = startFileSelector(kLoadPresetX);
    ASSERT_GT(loading, 0) << "the selector did not start";
    pump(milliseconds(300));
    answerFileSelector(saved);
    EXPECT_TRUE(pumpUntil([&] { return plugin->programName() == fiveName; }))
        << plugin->programName();
    EXPECT_EQ(program(), 2);
    EXPECT_LT(slowestIdle, kSlowIdle) << inMs(slowestIdle) << " ms";

    // Closed while the selector is up: its program is ended and reaped before the close
    // returns, and nothing arrives afterwards.
    select(3);
    const std::string threeName = plugin->programName();
    const pid_t abandoned = startFileSelector(kLoadPresetX);
    ASSERT_GT(abandoned, 0) << "the selector did not start";
    plugin->dispatch(effEditClose);
    EXPECT_TRUE(reaped(abandoned));
    openEditor();
    pump(milliseconds(300));
    EXPECT_EQ(plugin->programName(), threeName);
    EXPECT_LT(slowestIdle, kSlowIdle) << inMs(slowestIdle) << " ms";

    // The host releases the plug-in with its editor and a selector still open.
    const pid_t released = startFileSelector(kLoadPresetX);
    ASSERT_GT(released, 0) << "the selector did not start";
    plugin.reset();
    EXPECT_TRUE(reaped(released));
}

// A desktop with no portal, zenity or kdialog: the plug-in's own chooser asks, in a window
// of its own, and a preset is saved and loaded through it by typing and pressing Return.
TEST_F(PluginWindowTest, WithNoOtherChooserOurOwnSavesAndLoadsAPreset)
{
    // The search path holds xdotool alone; the chooser starts in the user's home folder.
    const std::string xdotoolPath = "/usr/bin/xdotool";
    if (!std::filesystem::exists(xdotoolPath))
        GTEST_SKIP() << "needs " << xdotoolPath;
    std::filesystem::create_directory(folder.path() / "only");
    std::filesystem::create_symlink(xdotoolPath, folder.path() / "only" / "xdotool");
    searchPath.reset();
    searchPath.emplace("PATH", (folder.path() / "only").string());
    const std::filesystem::path home = folder.path() / "home";
    std::filesystem::create_directory(home);
    ScopedEnvironment homeVariable("HOME", home.string());
    // Shown, and holding the keyboard: keys sent before would go elsewhere.
    const auto chooserShows = [&](const char* title)
    {
        return pumpUntil(
            [&]
            {
                return std::system(("test \"$(xdotool getwindowfocus getwindowname 2>/dev/null)\" "
                                    "= '" +
                                    std::string(title) + "'")
                                       .c_str()) == 0;
            });
    };

    select(5);
    const std::string fiveName = plugin->programName();
    clickInEditor(kSavePresetX, kStripY);
    ASSERT_TRUE(chooserShows("Save preset"));
    xdotool("type --delay 20 mine");
    xdotool("key Return");
    const std::filesystem::path saved = home / "mine.qel";
    ASSERT_TRUE(pumpUntil([&] { return std::filesystem::exists(saved); }));
    EXPECT_EQ(std::filesystem::file_size(saved), 101u);
    EXPECT_TRUE(pumpUntil(
        [&] { return std::system("xdotool search --name '^Save preset$' >/dev/null 2>&1") != 0; }))
        << "the chooser's window stayed";

    select(2);
    ASSERT_NE(plugin->programName(), fiveName);
    clickInEditor(kLoadPresetX, kStripY);
    ASSERT_TRUE(chooserShows("Load preset"));
    xdotool("key Return"); // the first file is chosen as the chooser opens
    EXPECT_TRUE(pumpUntil([&] { return plugin->programName() == fiveName; }))
        << plugin->programName();
    EXPECT_EQ(program(), 2);
    EXPECT_LT(slowestIdle, kSlowIdle) << inMs(slowestIdle) << " ms";
}
