#include "gui/platform/x11/FileChooserChain.h"

#include "gui/platform/x11/ExternalFileDialog.h"

#include <unistd.h>

namespace gui
{
bool FileChooserChain::start(const FileSelectorRequest& fileRequest)
{
    request = fileRequest;
    next = 0;
    done = false;
    nothingWorked = false;
    answer.reset();
    return startNext();
}

bool FileChooserChain::startReplaceQuestion(const FileSelectorRequest&, const std::string&)
{
    return false;
}

bool FileChooserChain::startNext()
{
    asking = false;
    while (next < ways.size())
    {
        auto way = ways[next++]();
        if (way && way->start(request))
        {
            current = std::move(way);
            return true;
        }
    }
    current.reset();
    nothingWorked = true;
    done = true;
    return false;
}

// Any way after the one that chose may ask; the one that chose could not, or it would
// have added the extension itself.
bool FileChooserChain::askNext(const std::string& path)
{
    asking = true;
    while (next < ways.size())
    {
        auto way = ways[next++]();
        if (way && way->startReplaceQuestion(request, path))
        {
            current = std::move(way);
            return true;
        }
    }
    current.reset();
    return false;
}

bool FileChooserChain::poll()
{
    if (done)
        return true;
    if (!current->poll())
        return false;
    if (current->unavailable())
    {
        // Nothing was shown: the next way asks instead, or a question goes unanswered.
        if (asking ? !askNext(*answer) : !startNext())
            finish(std::nullopt);
        return done;
    }
    if (asking)
    {
        finish(current->chosen());
        return true;
    }
    const std::optional<std::string> path = current->chosen();
    if (!path || current->handlesAddedExtension())
    {
        finish(path);
        return true;
    }
    std::string named = withDefaultExtension(*path, request);
    if (named == *path || access(named.c_str(), F_OK) != 0)
    {
        finish(std::move(named));
        return true;
    }
    // The chooser asked about replacing the name the user typed, not this one.
    answer = named;
    if (!askNext(named))
        finish(std::nullopt); // nobody can ask: nothing is replaced unasked
    return done;
}

void FileChooserChain::finish(std::optional<std::string> path)
{
    current.reset();
    answer = std::move(path);
    done = true;
}
} // namespace gui
