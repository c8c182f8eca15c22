// The renderer's command line.
#pragma once

#include "CommandLine.h" // parseNumber, for the tool's own number options

#include <string>
#include <utility>
#include <vector>

struct RenderOptions
{
    std::string input;      // empty: the built-in demo phrase
    std::string output;     // required unless only listing
    std::string plugin;     // the plug-in library to load
    std::string program;    // number or name; empty keeps the start-up program
    std::string presetFile; // a .qel preset to render with
    std::string bankFile;   // a .qeb bank whose --program to render with
    std::vector<std::pair<std::string, std::string>> settings; // --set NAME=VALUE
    double tempo = 120.0;
    double position = 0.0;     // song position at the start, in quarter notes
    double tailSeconds = -1.0; // -1: none for files, 4 s for the demo
    int blockSize = 512;
    int sampleRate = 0; // 0: the input's rate
    bool listPrograms = false;
    bool listParameters = false;
    bool help = false;
    bool quiet = false;
};

// Exit codes scripts can rely on.
enum RenderExit : int
{
    kExitOk = 0,
    kExitUsage = 1,  // bad option, value, program or parameter name
    kExitFile = 2,   // an input that cannot be read or an output that cannot be written
    kExitPlugin = 3, // the plug-in does not load or makes no instance
};

// Empty text on success, else a one-line error.
std::string parseRenderOptions(int argc, const char* const* argv, RenderOptions& options);

// Reads a finite number; false if text is not entirely one.

extern const char* const kRenderUsage;
