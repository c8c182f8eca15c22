// File selectors on Linux: zenity, else kdialog, run as separate programs with the
// request's title, folder, default name and file-type filters. The program runs beside the
// host: its answer is read through a pipe that never blocks, and collected when it ends.
#pragma once

#include "gui/IPlatformFrame.h"
#include "gui/platform/x11/FileChooser.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace gui
{
// The command line for each program; empty when the program does not exist.
std::vector<std::string> zenityCommand(const FileSelectorRequest& request);
std::vector<std::string> kdialogCommand(const FileSelectorRequest& request);
// For a save, the first filter's extension when the chosen name has none.
std::string withDefaultExtension(std::string path, const FileSelectorRequest& request);
// Asks whether the existing file at path is to be replaced; exits 0 for yes.
std::vector<std::string> replaceQuestionCommand(bool zenity, const std::string& title,
                                                const std::string& path);
// The path in what a selector wrote: nothing when it is empty or holds a newline.
std::optional<std::string> pathFromAnswer(std::string written);

class ExternalFileDialog : public FileChooser
{
public:
    ExternalFileDialog() = default;
    // Ends a program still running: SIGTERM, SIGKILL if it lingers, and reaped either way,
    // so that it leaves no zombie behind.
    ~ExternalFileDialog() override;
    ExternalFileDialog(const ExternalFileDialog&) = delete;
    ExternalFileDialog& operator=(const ExternalFileDialog&) = delete;

    // Starts zenity, else kdialog. False when neither is installed or the program cannot
    // be started.
    bool start(const FileSelectorRequest& request) override;
    // Asks with zenity, else kdialog, whether the existing file at path may be replaced.
    bool startReplaceQuestion(const FileSelectorRequest& request, const std::string& path) override;
    // Never waits: reads what the program has written so far and looks whether it has
    // ended. True once it has, and once the user has answered whether an existing file
    // may be replaced, when the extension had to be added; chosen() then holds the answer.
    bool poll() override;
    // The chosen path, or nothing when the user cancelled or the program failed.
    const std::optional<std::string>& chosen() const noexcept override { return answer; }
    bool handlesAddedExtension() const noexcept override { return true; }
    // The running program's process, or -1.
    pid_t processId() const noexcept { return child; }

private:
    bool spawn(std::vector<std::string> command);
    void readAvailable();
    void finish(bool exitedWell, bool reapedElsewhere);

    FileSelectorRequest request;
    bool usingZenity = false;
    pid_t child = -1;
    int output = -1;
    std::string written;
    // The path waiting for the user's yes to replacing it.
    std::optional<std::string> pendingReplace;
    std::optional<std::string> answer;
};
} // namespace gui
