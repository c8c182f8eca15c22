// The editor drawn once, offscreen, into a PNG file.
#pragma once

#include "EditorHost.h"
#include "EditorOptions.h"

// Runs the plug-in code built into this program; returns an exit code.
int takeScreenshot(const EditorOptions& options, EditorHost& host);
