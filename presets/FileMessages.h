// What the preset strip says when a file or a stored default could not be used, in words a
// musician understands: "could not save 'echo.qel': the file is read-only". The file is
// named without its folder.
#pragma once

#include "presets/FileAccess.h"
#include "presets/PresetRecords.h"

#include <string>
#include <string_view>

enum class LoadProblem
{
    cannotRead,
    cutShort,
    notOurs,     // another plug-in's file, or a file of another kind
    pathTooLong, // longer than the folder and name the strip remembers
};

// what names the kind for notOurs: "preset", "bank", "MIDI settings file".
std::string loadFailedMessage(std::string_view path, LoadProblem problem, std::string_view what);
std::string saveFailedMessage(std::string_view path, SaveResult result);
LoadProblem loadProblemOf(RecordFileRead read) noexcept;
