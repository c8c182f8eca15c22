// The desktop's own file chooser, asked for through the XDG desktop portal on the session
// bus. libdbus is loaded when first needed, so that a machine without it still loads the
// plug-in; every step of the conversation with the bus happens in poll, which never waits.
#pragma once

#include "gui/platform/x11/FileChooser.h"

#include <memory>
#include <optional>
#include <string>

namespace gui
{
// How the portal names an X11 window as the chooser's parent: "x11:" and the id in hex.
std::string portalParentWindow(unsigned long x11Window);

class PortalFileChooser final : public FileChooser
{
public:
    // parentWindow: the host's top-level window as portalParentWindow names it, or empty
    // for a chooser with no parent.
    explicit PortalFileChooser(std::string parentWindow = {});
    // Closes a chooser still on screen and the connection to the bus, without waiting.
    ~PortalFileChooser() override;
    PortalFileChooser(const PortalFileChooser&) = delete;
    PortalFileChooser& operator=(const PortalFileChooser&) = delete;

    // False when libdbus or the session bus is missing, or a chooser is still open.
    bool start(const FileSelectorRequest& request) override;
    // The portal asks nothing but for a file.
    bool startReplaceQuestion(const FileSelectorRequest&, const std::string&) override
    {
        return false;
    }
    bool poll() override;
    const std::optional<std::string>& chosen() const noexcept override { return answer; }
    // No portal answered the request: nothing was shown.
    bool unavailable() const noexcept override { return noPortal; }

private:
    // One request's private connection and where it stands; its code talks to libdbus.
    class Conversation;

    std::string parentWindow;
    std::unique_ptr<Conversation> conversation;
    std::optional<std::string> answer;
    bool noPortal = false;
};
} // namespace gui
