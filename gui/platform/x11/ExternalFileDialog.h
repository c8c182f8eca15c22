// File selectors on Linux: zenity, else kdialog, run as separate programs with the
// request's title, folder, default name and file-type filters.
#pragma once

#include "gui/IPlatformFrame.h"

#include <optional>
#include <string>
#include <vector>

namespace gui
{
// The command line for each program; empty when the program does not exist.
std::vector<std::string> zenityCommand(const FileSelectorRequest& request);
std::vector<std::string> kdialogCommand(const FileSelectorRequest& request);
// The chosen path, or nothing when the user cancelled or neither program is installed
// (then a message on standard error says what to install).
std::optional<std::string> runExternalFileDialog(const FileSelectorRequest& request);
// For a save, the first filter's extension when the chosen name has none.
std::string withDefaultExtension(std::string path, const FileSelectorRequest& request);
} // namespace gui
