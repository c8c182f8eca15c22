// The seam between the preset system's file operations and the file dialog of the GUI
// toolkit. The editor window installs its dialog when it opens and takes it away when it
// closes; without a window there is nothing to ask the user with, and the file
// operations do nothing.
#pragma once

#include <functional>
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
    // The full path of the one chosen file, in UTF-8, or nothing when the user cancelled.
    using Completion = std::function<void(std::optional<std::string> path)>;

    virtual ~FileDialog() = default;
    // On the user-interface thread: starts the dialog and returns without waiting for the
    // user. done runs at most once, on the same thread: from the window's idle, or before
    // choose returns. It never runs once the window has closed.
    virtual void choose(const FileRequest& request, Completion done) = 0;
};
