// tarva-editor's command line.
#pragma once

#include <string>

struct EditorOptions
{
    std::string plugin;          // the plug-in library to load
    std::string program;         // number or name; empty keeps the start-up program
    std::string logFile;         // one line per host callback of interest; empty: none
    std::string screenshotFile;  // render one frame offscreen into this PNG and exit
    double measureSeconds = 0.0; // 0: run until the window is closed
    double tempo = 120.0;
    int sampleRate = 44100;
    int blockSize = 512;
    bool help = false;
};

// Exit codes scripts can rely on.
enum EditorExit : int
{
    kExitOk = 0,
    kExitUsage = 1,   // bad option, value or program
    kExitFile = 2,    // a log or screenshot file that cannot be written
    kExitPlugin = 3,  // the plug-in does not load, has no editor or does not open it
    kExitDisplay = 4, // no display to open the window on (X11, or wine's)
};

// Empty text on success, else a one-line error.
std::string parseEditorOptions(int argc, const char* const* argv, EditorOptions& options);

extern const char* const kEditorUsage;
