// The ways of asking for a file, tried in order: the first that starts asks the user; one
// that turns out not to work after starting (the portal is not running) hands over to the
// next. A save's name gets the type's extension here when the way that asked did not add
// it, and an existing file of that name is replaced only after the user said so through
// the next way that can ask.
#pragma once

#include "gui/platform/x11/FileChooser.h"

#include <functional>
#include <memory>
#include <vector>

namespace gui
{
class FileChooserChain : public FileChooser
{
public:
    // Makes one way; null when it cannot exist here.
    using Maker = std::function<std::unique_ptr<FileChooser>()>;

    explicit FileChooserChain(std::vector<Maker> ways) : ways(std::move(ways)) {}

    // False when no way could start.
    bool start(const FileSelectorRequest& request) override;
    // The chain asks only through its ways.
    bool startReplaceQuestion(const FileSelectorRequest& request, const std::string& path) override;
    bool poll() override;
    const std::optional<std::string>& chosen() const noexcept override { return answer; }
    bool unavailable() const noexcept override { return nothingWorked; }
    bool handlesAddedExtension() const noexcept override { return true; }

private:
    // Starts the first way from next on that starts; false when none does.
    bool startNext();
    bool askNext(const std::string& path);
    void finish(std::optional<std::string> path);

    std::vector<Maker> ways;
    std::size_t next = 0;
    FileSelectorRequest request;
    std::unique_ptr<FileChooser> current;
    bool asking = false; // current asks only whether a file may be replaced
    bool done = false;
    bool nothingWorked = false;
    std::optional<std::string> answer;
};
} // namespace gui
