// The last way of asking for a file on Linux, for a desktop with no portal, zenity or
// kdialog: our own file chooser panel in a top-level window. The window has a connection
// to the X server of its own, so that its events never mix with the frame's, and poll
// handles them from the frame's idle without ever waiting.
#pragma once

#include "gui/platform/x11/FileChooser.h"

#include <memory>

namespace gui
{
class FileChooserPanel;
class ChooserWindow;

class BuiltInFileChooser : public FileChooser
{
public:
    // owner: an X11 window of the plug-in's, whose top-level window the chooser is kept
    // above and centred over; 0 for none.
    explicit BuiltInFileChooser(unsigned long owner = 0);
    // Closes the window at once.
    ~BuiltInFileChooser() override;
    BuiltInFileChooser(const BuiltInFileChooser&) = delete;
    BuiltInFileChooser& operator=(const BuiltInFileChooser&) = delete;

    // False when there is no X display to show the window on.
    bool start(const FileSelectorRequest& request) override;
    bool startReplaceQuestion(const FileSelectorRequest& request, const std::string& path) override;
    // Handles the window's queued events, redraws what they changed, and closes the window
    // once the user has answered.
    bool poll() override;
    const std::optional<std::string>& chosen() const noexcept override { return answer; }
    // The panel adds the extension and asks before replacing.
    bool handlesAddedExtension() const noexcept override { return true; }

private:
    bool show(std::unique_ptr<FileChooserPanel> chooser, const std::string& title);

    unsigned long owner;
    std::unique_ptr<FileChooserPanel> panel;
    std::unique_ptr<ChooserWindow> window;
    std::optional<std::string> answer;
};
} // namespace gui
