// The plug-in's programs as a host reaches them. The plug-in keeps its programs inside
// (effSetProgram is ignored, effGetProgram answers 0); the state chunk carries the table
// and the current program's index, and restoring a chunk selects that program.
#pragma once

#include "FakeHost.h"
#include "presets/StateChunk.h"

#include <optional>
#include <string>
#include <vector>

// The names effGetProgramNameIndexed gives, in order, up to the first it does not answer.
std::vector<std::string> programNames(PluginInstance& plugin);

// A program by number or by name (case does not matter); -1 if there is none.
int findProgram(PluginInstance& plugin, const std::string& wanted);

// Makes a program current by restoring the instance's own chunk with that index; programs
// read from a file replace the table first. False when the plug-in refused the chunk.
bool selectProgram(PluginInstance& plugin, int program, const ProgramTable* programs = nullptr);

// The current program's index as the state chunk records it; nothing without a chunk.
std::optional<int> currentProgram(PluginInstance& plugin);
