#include "presets/FileMessages.h"

namespace
{
std::string quotedName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return "'" + std::string(name) + "'";
}
} // namespace

std::string loadFailedMessage(std::string_view path, LoadProblem problem, std::string_view what)
{
    std::string text = "could not load " + quotedName(path) + ": ";
    switch (problem)
    {
    case LoadProblem::cannotRead: return text + "the file cannot be read";
    case LoadProblem::cutShort: return text + "the file is cut short";
    case LoadProblem::notOurs: return text + "it is not a TARVA " + std::string(what);
    case LoadProblem::pathTooLong: break;
    }
    return text + "its folder and name are too long";
}

std::string saveFailedMessage(std::string_view path, SaveResult result)
{
    std::string text = "could not save " + quotedName(path) + ": ";
    switch (result)
    {
    case SaveResult::saved: return {};
    case SaveResult::readOnly: return text + "the file is read-only";
    case SaveResult::folderNotWritable: return text + "the folder cannot be written to";
    case SaveResult::noSpace: return text + "the disk is full";
    case SaveResult::tooLong: return text + "its folder and name are too long";
    case SaveResult::failed: break;
    }
    return text + "the file could not be written";
}

LoadProblem loadProblemOf(RecordFileRead read) noexcept
{
    return read == RecordFileRead::cutShort ? LoadProblem::cutShort : LoadProblem::cannotRead;
}
