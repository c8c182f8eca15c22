// tarva-editor: the plug-in's editor in a window of its own. Loads the plug-in through its
// entry point as a host does, opens the editor in a top-level window (X11, or Win32 in the
// Windows build), calls its idle at 30 Hz on this (the user-interface) thread and plays a
// demo phrase through the plug-in on an audio thread, so that the meter, the lamps and the
// beat flash move.
#include "DemoPlayer.h"
#include "EditorHost.h"
#include "EditorOptions.h"
#include "EditorStart.h"
#include "HostPrograms.h"
#include "HostWindow.h"
#include "Screenshot.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr auto kIdlePeriod = std::chrono::microseconds(1000000 / 30);

std::atomic<bool> interrupted{false};

void onSignal(int)
{
    interrupted.store(true);
}

struct IdleStatistics
{
    long calls = 0;
    double totalSeconds = 0.0;
    double longestSeconds = 0.0;

    void add(double seconds)
    {
        ++calls;
        totalSeconds += seconds;
        longestSeconds = std::max(longestSeconds, seconds);
    }
};

// After the plug-in asked for a display update a host reads what changed; here the
// current program, which the plug-in reports only through its state chunk.
void logProgram(PluginInstance& plugin, EditorHost& host)
{
    const auto program = currentProgram(plugin);
    host.log("program " + (program ? std::to_string(*program) : std::string("?")) + " " +
             plugin.programName());
}

int runWindow(const EditorOptions& options, EditorHost& host)
{
    PluginLibrary library(options.plugin);
    if (!library.isLoaded())
        return editorFailure(kExitPlugin, library.error());
    PluginInstance plugin(host.create(library.entry()));
    if (!plugin)
        return editorFailure(kExitPlugin, "the plug-in made no instance");
    if ((plugin.effect()->flags & effFlagsHasEditor) == 0)
        return editorFailure(kExitPlugin, "the plug-in has no editor");
    if (const int code = startOnProgram(plugin, options); code != kExitOk)
        return code;
    host.takeDisplayUpdate(); // the host's own doing, not news
    logProgram(plugin, host);

    ERect* rect = nullptr;
    if (plugin.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr ||
        rect->right <= rect->left || rect->bottom <= rect->top)
        return editorFailure(kExitPlugin, "the plug-in reports no editor size");
    HostWindow window;
    char name[kVstMaxEffectNameLen + 1] = {};
    plugin.dispatch(effGetEffectName, 0, 0, name);
    if (const std::string error =
            window.open(rect->right - rect->left, rect->bottom - rect->top, name);
        !error.empty())
        return editorFailure(kExitDisplay, error);
    if (plugin.dispatch(effEditOpen, 0, 0, window.parentHandle()) == 0)
        return editorFailure(kExitPlugin, "the plug-in did not open its editor");

    DemoPlayer player(plugin.effect(), host, options.sampleRate, options.blockSize);
    player.start();

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    IdleStatistics idle;
    const auto started = Clock::now();
    const double startCpu = threadCpuTime();
    window.run(kIdlePeriod,
               [&]
               {
                   if (interrupted.load())
                       return false;
                   const auto before = Clock::now();
                   plugin.dispatch(effEditIdle);
                   idle.add(std::chrono::duration<double>(Clock::now() - before).count());
                   if (host.takeDisplayUpdate())
                       logProgram(plugin, host);
                   return options.measureSeconds <= 0.0 ||
                          Clock::now() - started <
                              std::chrono::duration<double>(options.measureSeconds);
               });
    const double cpuSeconds = threadCpuTime() - startCpu;
    const double wallSeconds = std::chrono::duration<double>(Clock::now() - started).count();

    // As a host closes: the editor first, then no more audio, then the instance.
    plugin.dispatch(effEditClose);
    player.stop();
    plugin.suspend();
    plugin.close();
    window.close();

    if (options.measureSeconds > 0.0)
    {
        std::printf("%.1f s with the editor open, %ld idle calls (%.1f per second)\n", wallSeconds,
                    idle.calls, static_cast<double>(idle.calls) / wallSeconds);
        std::printf("user-interface thread CPU: %.2f %% (%.3f s)\n",
                    100.0 * cpuSeconds / wallSeconds, cpuSeconds);
        std::printf("idle call: mean %.1f us, max %.1f us\n",
                    idle.calls > 0 ? 1e6 * idle.totalSeconds / static_cast<double>(idle.calls)
                                   : 0.0,
                    1e6 * idle.longestSeconds);
        std::printf("audio thread CPU: %.2f %% (%ld blocks of %d frames)\n",
                    100.0 * player.cpuSeconds() / wallSeconds, player.blocksPlayed(),
                    options.blockSize);
    }
    return kExitOk;
}
} // namespace

int main(int argc, char** argv)
{
    EditorOptions options;
    options.plugin = besideProgram(TARVA_DEFAULT_PLUGIN);
    const std::string error = parseEditorOptions(argc, argv, options);
    if (options.help)
    {
        std::fputs(kEditorUsage, stdout);
        return kExitOk;
    }
    if (!error.empty())
        return editorFailure(kExitUsage, error);

    EditorHost host(options.sampleRate, options.tempo);
    if (!options.logFile.empty())
        if (const std::string logError = host.openLog(options.logFile); !logError.empty())
            return editorFailure(kExitFile, logError);
    if (!options.screenshotFile.empty())
        return takeScreenshot(options, host);
    return runWindow(options, host);
}
