// A private X server for tests that need a real display: Xvfb on a free display number of
// its own choosing. DISPLAY names it while it runs.
#pragma once

#include <X11/Xlib.h>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

inline bool onPath(const char* program)
{
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

class Xvfb
{
public:
    Xvfb() = default;
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;
    ~Xvfb() { stop(); }

    // Xvfb itself takes the first display whose socket it can bind and says which through
    // -displayfd, so two test processes starting at once can never both believe one server
    // is theirs (a probe of a guessed number could reach the other process's server).
    bool start()
    {
        int ready[2];
        if (pipe(ready) != 0)
            return false;
        pid = fork();
        if (pid == 0)
        {
            prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive a crashed test
            close(ready[0]);
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        const std::string number = readLine(ready[0], 10000);
        close(ready[0]);
        if (pid < 0 || number.empty())
        {
            stop();
            return false;
        }
        display = ":" + number;
        setenv("DISPLAY", display.c_str(), 1);
        return true;
    }

    void stop()
    {
        if (pid > 0)
        {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }

    std::string display;

private:
    // The digits Xvfb writes once it accepts connections; empty if it exits or stays silent.
    static std::string readLine(int fd, int timeoutMs)
    {
        std::string line;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;)
        {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd waiting{fd, POLLIN, 0};
            if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0)
                return {};
            char c;
            if (read(fd, &c, 1) != 1)
                return {};
            if (c == '\n')
                return line;
            if (c < '0' || c > '9')
                return {};
            line += c;
        }
    }

    pid_t pid = -1;
};

// A test suite that shares one private X server rather than starting one per test. Tests skip
// without Xvfb or xdotool.
class XvfbTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!toolsInstalled())
            return;
        server = new Xvfb;
        if (!server->start())
        {
            delete server;
            server = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        if (!toolsInstalled())
            GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/setup installs both)";
        ASSERT_NE(server, nullptr) << "Xvfb did not start";
    }

    static bool toolsInstalled() { return onPath("Xvfb") && onPath("xdotool"); }
    static inline Xvfb* server = nullptr;
};

// The windows whose parent is the root: the top-level windows and any popup.
inline std::vector<Window> rootChildren(Display* display)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return {};
    std::vector<Window> windows(children, children + count);
    if (children != nullptr)
        XFree(children);
    return windows;
}

// The override-redirect window mapped on the root, as a popup menu is; none if none is up.
inline std::optional<XRectangle> findPopup(Display* display)
{
    std::optional<XRectangle> found;
    for (const Window window : rootChildren(display))
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) && attributes.override_redirect &&
            attributes.map_state == IsViewable)
            found = XRectangle{static_cast<short>(attributes.x), static_cast<short>(attributes.y),
                               static_cast<unsigned short>(attributes.width),
                               static_cast<unsigned short>(attributes.height)};
    }
    return found;
}
