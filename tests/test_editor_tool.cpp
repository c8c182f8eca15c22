// tarva-editor as a user drives it: a private Xvfb, the program started with --log, the
// real pointer moved over the editor by xdotool, and the log read back for what the host
// saw. Also its offscreen screenshot and its command line, which need no display.
#include "FakeHost.h"
#include "gui/CBitmap.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros (None, Bool, Status) would break its headers.
#include "support/Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace
{
// Generous: the machine may be busy. Nothing waits this long unless something is wrong.
constexpr auto kTimeout = std::chrono::seconds(30);

// Polls until the condition holds or the time is up; answers the condition's last value.
template <typename Condition> bool waitFor(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::string readText(const std::string& path)
{
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The lines from index from on that start with prefix.
std::vector<std::string> linesFrom(const std::vector<std::string>& lines, std::size_t from,
                                   const std::string& prefix)
{
    std::vector<std::string> found;
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0)
            found.push_back(lines[i]);
    return found;
}

// tarva-editor as a child process, its output in files; killed if a test leaves it running.
class EditorProcess
{
public:
    EditorProcess(const TempFolder& folder, std::vector<std::string> arguments)
        : out(folder.file("stdout")), err(folder.file("stderr"))
    {
        pid = fork();
        if (pid == 0)
        {
            const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(outFd, 1);
            dup2(errFd, 2);
            std::vector<char*> argv{const_cast<char*>(TARVA_EDITOR_PATH)};
            for (auto& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(TARVA_EDITOR_PATH, argv.data());
            _exit(127);
        }
    }
    ~EditorProcess()
    {
        if (pid > 0)
        {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    EditorProcess(const EditorProcess&) = delete;
    EditorProcess& operator=(const EditorProcess&) = delete;

    // The exit code once the program ended by itself; nothing if it is still running at
    // the timeout or died of a signal.
    std::optional<int> waitForExit()
    {
        int status = 0;
        const bool ended = waitFor(
            [&]
            {
                if (pid <= 0)
                    return true;
                if (waitpid(pid, &status, WNOHANG) != pid)
                    return false;
                pid = -1;
                return true;
            });
        if (!ended || !WIFEXITED(status))
            return std::nullopt;
        return WEXITSTATUS(status);
    }
    bool running() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

    std::string output() const { return readText(out); }
    std::string errors() const { return readText(err); }

private:
    std::string out;
    std::string err;
    pid_t pid = -1;
};

int run(const TempFolder& folder, std::vector<std::string> arguments)
{
    EditorProcess editor(folder, std::move(arguments));
    return editor.waitForExit().value_or(-1);
}

// The top-level window titled title whose child (the plug-in's editor) is on screen.
std::optional<Window> findEditorWindow(Display* display, const char* title)
{
    for (const Window window : rootChildren(display))
    {
        char* name = nullptr;
        if (!XFetchName(display, window, &name) || name == nullptr)
            continue;
        const bool named = std::string(name) == title;
        XFree(name);
        Window root = 0, parent = 0;
        Window* inner = nullptr;
        unsigned innerCount = 0;
        if (!named || !XQueryTree(display, window, &root, &parent, &inner, &innerCount))
            continue;
        bool shown = false;
        for (unsigned j = 0; j < innerCount; ++j)
        {
            XWindowAttributes attributes;
            shown = shown || (XGetWindowAttributes(display, inner[j], &attributes) &&
                              attributes.map_state == IsViewable);
        }
        if (inner != nullptr)
            XFree(inner);
        if (shown)
            return window;
    }
    return std::nullopt;
}

void askToClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

std::string xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments).c_str()) == 0 ? "" : "xdotool " + arguments;
}

float valueOf(const std::string& automateLine)
{
    return std::stof(automateLine.substr(automateLine.rfind(' ') + 1));
}

// What the four delay digits of an editor image show: each digit's rectangle is compared
// with the frames of its bitmap (0 to 9, then the blank, read as a space); '?' when it
// matches none.
std::string readDigits(const unsigned char* rgb, int width)
{
    struct Digit
    {
        int left, top, id;
    };
    const Digit digits[] = {{511, 32, 140}, {528, 32, 141}, {545, 32, 142}, {563, 32, 143}};
    std::string shown;
    for (const auto& digit : digits)
    {
        auto* bitmap = new CBitmap(CResourceDescription(digit.id));
        const PixelBuffer& frames = bitmap->pixels();
        constexpr int kFrameHeight = 20;
        char found = '?';
        for (int frame = 0; frame <= 10 && found == '?'; ++frame)
        {
            bool same = true;
            for (int y = 0; y < kFrameHeight && same; ++y)
                for (int x = 0; x < frames.width && same; ++x)
                {
                    const std::uint32_t want = frames.at(x, frame * kFrameHeight + y);
                    const unsigned char* got = rgb + 3 * ((digit.top + y) * width + digit.left + x);
                    same = got[0] == ((want >> 16) & 0xff) && got[1] == ((want >> 8) & 0xff) &&
                           got[2] == (want & 0xff);
                }
            if (same)
                found = frame == 10 ? ' ' : static_cast<char>('0' + frame);
        }
        bitmap->forget();
        shown += found;
    }
    return shown;
}

// What the plug-in says before any editor is involved: a fresh instance of the library.
struct Factory
{
    float feedback = 0.0f;
    float power = 0.0f;
    std::string programFive;
    std::string delayText; // "DlyTime" as the host displays it
};

Factory readFactory()
{
    PluginLibrary library(TARVA_PLUGIN_PATH);
    FakeHost host;
    PluginInstance plugin(host, library.entry());
    Factory factory;
    if (!plugin)
        return factory;
    factory.feedback = plugin.getParameter(6);
    factory.power = plugin.getParameter(14);
    factory.programFive = plugin.programNameIndexed(5);
    factory.delayText = plugin.parameterDisplay(3);
    return factory;
}
} // namespace

// tarva-editor started with its log in a private Xvfb, its window on screen.
class EditorWindowTest : public XvfbTest
{
protected:
    void SetUp() override
    {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        factory = readFactory();
        ASSERT_FALSE(factory.programFive.empty());
        editor.emplace(folder, std::vector<std::string>{"--program", "0", "--log", log});
        std::optional<Window> found;
        ASSERT_TRUE(waitFor(
            [&] { return (found = findEditorWindow(display, "Morvane TARVA")).has_value(); }))
            << "no editor window; tarva-editor said: " << editor->errors();
        window = *found;
        inWindow = "mousemove --window " + std::to_string(window) + " ";
    }

    void TearDown() override
    {
        editor.reset();
        if (display != nullptr)
            XCloseDisplay(display);
    }

    // Waits until a line starting with prefix follows the first seen lines of the log.
    bool waitForLine(std::size_t seen, const std::string& prefix)
    {
        return waitFor([&] { return !linesFrom(readLines(log), seen, prefix).empty(); });
    }

    // Closing the window ends the program cleanly.
    void closeWindow()
    {
        askToClose(display, window);
        EXPECT_EQ(editor->waitForExit(), 0) << editor->errors();
        EXPECT_EQ(editor->errors(), "");
    }

    Display* display = nullptr;
    Factory factory;
    TempFolder folder;
    std::string log = folder.file("host.log");
    std::optional<EditorProcess> editor;
    Window window = 0;
    std::string inWindow;
};

TEST_F(EditorWindowTest, PowerAndAKnobDragReachTheHostAsGestures)
{
    // Power: one click toggles it, as one gesture.
    std::size_t seen = readLines(log).size();
    ASSERT_EQ(xdotool(inWindow + "829 55 click 1"), "");
    ASSERT_TRUE(waitForLine(seen, "endEdit 14")) << readText(log);
    auto lines = readLines(log);
    const std::vector<std::string> power(lines.begin() + static_cast<long>(seen), lines.end());
    const std::string toggled = factory.power >= 0.5f ? "0.25" : "0.75";
    EXPECT_EQ(power,
              (std::vector<std::string>{"beginEdit 14", "automate 14 " + toggled, "endEdit 14"}));

    // Fbck: pressed, moved 50 pixels up, released: a quarter of its range in linear mode.
    seen = lines.size();
    ASSERT_EQ(xdotool(inWindow + "217 55 mousedown 1 " + inWindow + "217 5 mouseup 1"), "");
    ASSERT_TRUE(waitForLine(seen, "endEdit 6")) << readText(log);
    lines = readLines(log);
    ASSERT_GT(lines.size(), seen + 2);
    EXPECT_EQ(lines[seen], "beginEdit 6");
    EXPECT_EQ(lines.back(), "endEdit 6");
    const auto feedback = linesFrom(lines, seen, "automate");
    ASSERT_FALSE(feedback.empty());
    for (const auto& line : feedback)
        EXPECT_EQ(line.rfind("automate 6 ", 0), 0u) << line;
    EXPECT_FLOAT_EQ(valueOf(feedback.back()), std::min(1.0f, factory.feedback + 0.25f));

    closeWindow();
}

// A rectangle of the window's pixels as the screen shows them.
std::vector<unsigned long> windowPixels(Display* display, Window window, int left, int top,
                                        int width, int height)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return pixels;
}

std::vector<unsigned long> meterPixels(Display* display, Window window)
{
    return windowPixels(display, window, 41, 21, 7, 43);
}

// HiCut, RptInf and the flash that marks each repeat.
std::vector<unsigned long> statusLampPixels(Display* display, Window window)
{
    return windowPixels(display, window, 577, 26, 16, 32);
}

TEST_F(EditorWindowTest, TheMeterAndFlashLampMoveWithThePointerElsewhere)
{
    // A host's user looks at the meter with the mouse anywhere.
    ASSERT_EQ(xdotool("mousemove 1000 600"), "");
    std::vector<unsigned long> first;
    const auto drawn = [&]
    {
        first = meterPixels(display, window);
        return !first.empty() &&
               std::adjacent_find(first.begin(), first.end(), std::not_equal_to<>()) != first.end();
    };
    ASSERT_TRUE(waitFor(drawn)) << "the meter was never drawn";
    EXPECT_TRUE(waitFor([&] { return meterPixels(display, window) != first; }))
        << "the meter stood still";
    // The flash lamp blinks with each repeat (program 0 has HiCut and RptInf off).
    const auto lamps = statusLampPixels(display, window);
    EXPECT_TRUE(waitFor([&] { return statusLampPixels(display, window) != lamps; }))
        << "the beat lamp never flashed";
    closeWindow();
}

TEST_F(EditorWindowTest, TheProgramMenuMakesTheChosenProgramCurrent)
{
    // The menu pops up; entry 5 is chosen; the plug-in makes that program current and
    // tells the host, which finds it in the state.
    const std::size_t seen = readLines(log).size();
    ASSERT_EQ(xdotool(inWindow + "326 93 click 1"), "");
    std::optional<XRectangle> popup;
    ASSERT_TRUE(waitFor([&] { return (popup = findPopup(display)).has_value(); }))
        << "no menu popped up";
    ASSERT_GE(popup->height, 17 * 16) << "one column of 17 rows of 16 pixels";
    ASSERT_EQ(xdotool("mousemove " + std::to_string(popup->x + 30) + " " +
                      std::to_string(popup->y + 5 * 16 + 8) + " click 1"),
              "");
    const std::string chosen = "program 5 " + factory.programFive;
    ASSERT_TRUE(waitFor(
        [&]
        {
            const auto programs = linesFrom(readLines(log), seen, "program ");
            return !programs.empty() && programs.back() == chosen;
        }))
        << readText(log);
    EXPECT_FALSE(linesFrom(readLines(log), seen, "updateDisplay").empty());
    EXPECT_FALSE(findPopup(display).has_value());

    closeWindow();
}

TEST(EditorTool, TheScreenshotIsTheEditorDrawnOffscreen)
{
    const ScopedEnvironment noDisplay("DISPLAY", std::nullopt);
    TempFolder folder;
    const std::string png = folder.file("editor.png");
    ASSERT_EQ(run(folder, {"--screenshot", png}), 0) << readText(folder.file("stderr"));

    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(png.c_str(), &width, &height, &channels, 3);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 870);
    EXPECT_EQ(height, 101);
    // The top-left corner is plain background: the background bitmap's own pixels.
    auto* background = new CBitmap(CResourceDescription(128));
    const std::uint32_t corner = background->pixels().at(2, 2);
    background->forget();
    EXPECT_EQ(pixels[(2 * width + 2) * 3 + 0], (corner >> 16) & 0xff);
    EXPECT_EQ(pixels[(2 * width + 2) * 3 + 1], (corner >> 8) & 0xff);
    EXPECT_EQ(pixels[(2 * width + 2) * 3 + 2], corner & 0xff);
    // The idle passes filled the displays: the digits show the delay of the program.
    const Factory factory = readFactory();
    std::string delay = factory.delayText;
    delay.erase(delay.find_last_not_of(' ') + 1);
    EXPECT_EQ(readDigits(pixels, width),
              std::string(4 - std::min<std::size_t>(4, delay.size()), ' ') + delay)
        << "the program's delay is " << factory.delayText;
    stbi_image_free(pixels);
}

TEST(EditorTool, CommandLineAndExitCodes)
{
    TempFolder folder;
    EXPECT_EQ(run(folder, {"--help"}), 0);
    EXPECT_NE(readText(folder.file("stdout")).find("usage: tarva-editor"), std::string::npos);
    EXPECT_EQ(run(folder, {"--frobnicate"}), 1);
    EXPECT_EQ(run(folder, {"--measure", "soon"}), 1);
    EXPECT_EQ(run(folder, {"--screenshot", folder.file("x.png"), "--measure", "1"}), 1);
    EXPECT_EQ(run(folder, {"--program", "nosuch", "--screenshot", folder.file("x.png")}), 1);
    EXPECT_EQ(run(folder, {"--program", "17", "--screenshot", folder.file("x.png")}), 1);
    EXPECT_EQ(run(folder, {"--log", folder.file("missing/host.log")}), 2);
    EXPECT_EQ(run(folder, {"--screenshot", folder.file("missing/x.png")}), 2);
    EXPECT_EQ(run(folder, {"--plugin", folder.file("nothing.so")}), 3);
    const ScopedEnvironment noDisplay("DISPLAY", std::nullopt);
    EXPECT_EQ(run(folder, {}), 4);
}
