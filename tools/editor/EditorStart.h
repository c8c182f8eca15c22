// What tarva-editor's window and its screenshot do alike on the way in.
#pragma once

#include "EditorOptions.h"
#include "FakeHost.h"

#include <string>

// Prints the message as tarva-editor's one-line error and gives back the exit code.
int editorFailure(int code, const std::string& message);

// Starts the instance at the options' rate and block size on the program they name, if
// any: kExitOk, or the exit code of an unknown program (its error printed).
int startOnProgram(PluginInstance& plugin, const EditorOptions& options);
