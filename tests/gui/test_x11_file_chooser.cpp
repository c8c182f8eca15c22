// The built-in file chooser's window in a private Xvfb, with no window manager, as on the
// most minimal desktop: xdotool types into it and clicks it while the test polls it as the
// frame's idle would.

// gtest before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include "gui/CDrawContext.h"
#include "gui/FileChooserPanel.h"
#include "gui/platform/x11/BuiltInFileChooser.h"
#include "support/TempFolder.h"
#include "support/Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace
{
class BuiltInFileChooserTest : public XvfbTest
{
protected:
    void SetUp() override
    {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
    }

    void TearDown() override
    {
        if (probe)
            XCloseDisplay(probe);
    }

    // The mapped top-level window of that title, or 0.
    Window windowTitled(const std::string& title)
    {
        XSync(probe, False);
        for (const Window window : rootChildren(probe))
        {
            char* name = nullptr;
            XWindowAttributes attributes;
            const bool found = XFetchName(probe, window, &name) && name == title &&
                               XGetWindowAttributes(probe, window, &attributes) &&
                               attributes.map_state == IsViewable;
            if (name)
                XFree(name);
            if (found)
                return window;
        }
        return 0;
    }

    // Polls as the frame's idle would until the condition, given poll's answer, holds;
    // whether it did within ten seconds.
    template <typename Condition>
    static bool pollUntil(gui::BuiltInFileChooser& chooser, Condition condition)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end)
        {
            if (condition(chooser.poll()))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // The chooser's window once it is up and has the keyboard; 0 if it never is.
    Window waitForWindow(gui::BuiltInFileChooser& chooser, const std::string& title)
    {
        Window window = 0;
        const auto focused = [&](bool)
        {
            window = windowTitled(title);
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(probe, &focus, &revert);
            return window != 0 && focus == window;
        };
        return pollUntil(chooser, focused) ? window : 0;
    }

    static bool waitForAnswer(gui::BuiltInFileChooser& chooser)
    {
        return pollUntil(chooser, [](bool answered) { return answered; });
    }

    // How many of the window's pixels differ from the buffer's.
    int differentPixels(Window window, const PixelBuffer& expected)
    {
        XImage* shown = XGetImage(probe, window, 0, 0, static_cast<unsigned>(expected.width),
                                  static_cast<unsigned>(expected.height), AllPlanes, ZPixmap);
        if (!shown)
            return -1;
        int different = 0;
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                different += (XGetPixel(shown, x, y) & 0xffffff) != (expected.at(x, y) & 0xffffff);
        XDestroyImage(shown);
        return different;
    }

    static void xdotool(const std::string& arguments)
    {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    }

    Display* probe = nullptr;
};

FileSelectorRequest presetRequest(bool save, const TempFolder& folder)
{
    return {save,
            save ? "Save preset" : "Load preset",
            folder.path().string(),
            "",
            {{"QEL Preset", "qel"}}};
}
} // namespace

TEST_F(BuiltInFileChooserTest, TheWindowShowsThePanelAndSavesUnderTheNameTypedIntoIt)
{
    TempFolder folder;
    gui::BuiltInFileChooser chooser;
    ASSERT_TRUE(chooser.start(presetRequest(true, folder)));
    EXPECT_TRUE(chooser.handlesAddedExtension());
    const Window window = waitForWindow(chooser, "Save preset");
    ASSERT_NE(window, 0u) << "no window titled 'Save preset' took the keyboard";
    XWindowAttributes attributes;
    XGetWindowAttributes(probe, window, &attributes);
    EXPECT_EQ(attributes.width, 480);
    EXPECT_EQ(attributes.height, 360);
    // What the window shows is the panel, drawn as it would be offscreen.
    gui::FileChooserPanel same(presetRequest(true, folder));
    PixelBuffer expected(480, 360);
    CDrawContext context(expected);
    same.draw(context);
    EXPECT_TRUE(pollUntil(chooser, [&](bool) { return differentPixels(window, expected) == 0; }))
        << differentPixels(window, expected) << " pixels differ";

    xdotool("type --delay 20 'my echo'");
    xdotool("key Return");
    ASSERT_TRUE(waitForAnswer(chooser));
    EXPECT_EQ(chooser.chosen(), folder.file("my echo.qel"));
    EXPECT_EQ(windowTitled("Save preset"), 0u); // gone with the answer
}

TEST_F(BuiltInFileChooserTest, ADoubleClickOpensAFileAndDestroyingAChooserClosesIt)
{
    TempFolder folder;
    std::ofstream(folder.file("delay.qel")) << "x";
    std::ofstream(folder.file("other.txt")) << "x";
    const FileSelectorRequest request = presetRequest(false, folder);
    {
        gui::BuiltInFileChooser unanswered;
        ASSERT_TRUE(unanswered.start(request));
        ASSERT_NE(waitForWindow(unanswered, "Load preset"), 0u);
    }
    EXPECT_EQ(windowTitled("Load preset"), 0u);

    // Where the window's panel lists the file.
    const gui::FileChooserPanel layout(request);
    ASSERT_EQ(layout.getEntryNames(), (std::vector<std::string>{"..", "delay.qel"}));
    const CRect row = layout.getEntryRect(1);

    gui::BuiltInFileChooser chooser;
    ASSERT_TRUE(chooser.start(request));
    const Window window = waitForWindow(chooser, "Load preset");
    ASSERT_NE(window, 0u);
    xdotool("mousemove --window " + std::to_string(window) + " " +
            std::to_string(static_cast<int>(row.left) + 40) + " " +
            std::to_string(static_cast<int>(row.top) + 9) + " click --repeat 2 --delay 80 1");
    ASSERT_TRUE(waitForAnswer(chooser));
    EXPECT_EQ(chooser.chosen(), folder.file("delay.qel"));
}
