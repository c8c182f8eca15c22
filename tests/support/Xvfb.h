// A private X server for tests that need a real display: Xvfb on the first free display
// number from 90 on. DISPLAY names it while it runs.
#pragma once

#include <X11/Xlib.h>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

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

    bool start()
    {
        for (int number = 90; number < 140; ++number)
        {
            const std::string name = ":" + std::to_string(number);
            if (exists("/tmp/.X" + std::to_string(number) + "-lock") ||
                exists("/tmp/.X11-unix/X" + std::to_string(number)))
                continue;
            pid = fork();
            if (pid == 0)
            {
                prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlive a crashed test
                std::freopen("/dev/null", "w", stdout);
                std::freopen("/dev/null", "w", stderr);
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int tries = 0; tries < 100; ++tries)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (Display* probe = XOpenDisplay(name.c_str()))
                {
                    XCloseDisplay(probe);
                    display = name;
                    setenv("DISPLAY", name.c_str(), 1);
                    return true;
                }
                int status = 0;
                if (waitpid(pid, &status, WNOHANG) == pid) // taken by someone else: next one
                    break;
            }
            stop();
        }
        return false;
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
    static bool exists(const std::string& path)
    {
        struct stat info;
        return stat(path.c_str(), &info) == 0;
    }

    pid_t pid = -1;
};

// A test suite that shares one private X server: starting one on a display number another
// has just left can race with that server's going. Tests skip without Xvfb or xdotool.
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
