// One way of asking the user for a file on Linux: the desktop's chooser through its portal,
// zenity or kdialog as separate programs, or the chooser our toolkit draws. Each runs beside
// the host: start returns at once, and the X11 frame's idle polls until it is done.
#pragma once

#include "gui/IPlatformFrame.h"

#include <optional>
#include <string>

namespace gui
{
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // Starts asking for a file. False when this way is not available here at all (no such
    // program, no session bus): then the next way is tried at once.
    virtual bool start(const FileSelectorRequest& request) = 0;
    // Starts asking only whether the existing file at path may be replaced (a save whose
    // extension was added after the user named the file). False when this way cannot ask.
    virtual bool startReplaceQuestion(const FileSelectorRequest& request,
                                      const std::string& path) = 0;
    // Never waits. True once the chooser is done; then chosen() holds the answer, or
    // unavailable() says that this way turned out not to work after all (the portal is not
    // running), in which case nothing was shown and the next way is tried.
    virtual bool poll() = 0;
    // The chosen path (for a question: path when the user said yes), or nothing when the
    // user cancelled or said no.
    virtual const std::optional<std::string>& chosen() const noexcept = 0;
    virtual bool unavailable() const noexcept { return false; }
    // True when chosen() already has the type's extension added to a save's name, and the
    // user was asked before an existing file of that name is replaced. A chooser that
    // answers false returns the name as the user gave it; the caller adds the extension
    // and asks the replacement question through another way.
    virtual bool handlesAddedExtension() const noexcept { return false; }
    // Destroying a chooser that is not done ends it without an answer, at once.
};
} // namespace gui
