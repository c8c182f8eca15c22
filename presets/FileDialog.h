// The seam between the preset system's file operations and the file dialog of the GUI
// toolkit. The editor window installs its dialog when it opens and takes it away when it
// closes; without a window there is nothing to ask the user with, and the file
// operations do nothing.
#pragma once

#include <optional>
#include <string>

struct FileType
{
    const char* description;
    const char* extension; // without the dot
};

inline constexpr FileType kPresetFileType{"QEL Preset", "qel"};
inline constexpr FileType kBankFileType{"QEL Bank", "qeb"};
inline constexpr FileType kMidiFileType{"QEL MIDI Settings", "qem"};

struct FileRequest
{
    enum class Mode
    {
        open, // one existing file; no multiple selection
        save, // the type's extension is the default extension
    };
    Mode mode;
    const char* title;
    const char* initialDirectory; // UTF-8; empty lets the dialog choose
    const char* defaultName;      // UTF-8; empty when opening
    FileType type;
};

class FileDialog
{
public:
    virtual ~FileDialog() = default;
    // Runs modally on the user-interface thread. The full path of the one chosen file,
    // in UTF-8, or nothing when the user cancelled.
    virtual std::optional<std::string> choose(const FileRequest& request) = 0;
};
