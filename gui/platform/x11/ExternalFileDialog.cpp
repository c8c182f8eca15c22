#include "gui/platform/x11/ExternalFileDialog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace gui
{
namespace
{
bool onPath(const char* program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size())
    {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate =
            (end > start ? folders.substr(start, end - start) : std::string(".")) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

std::string startPath(const FileSelectorRequest& request)
{
    std::string path = request.initialDirectory;
    if (!path.empty() && path.back() != '/')
        path += '/';
    if (request.save)
        path += request.defaultName;
    return path;
}

// Runs the command, waiting for it, and returns its first line of output when it ends
// with status 0.
std::optional<std::string> run(const std::vector<std::string>& command)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return std::nullopt;
    std::vector<char*> argv;
    for (const auto& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
    {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return std::nullopt;
    }
    if (child == 0)
    {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char chunk[512];
    for (;;)
    {
        const ssize_t got = read(pipeEnds[0], chunk, sizeof chunk);
        if (got > 0)
            output.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    const std::size_t newline = output.find('\n');
    if (newline != std::string::npos)
        output.resize(newline);
    if (output.empty())
        return std::nullopt;
    return output;
}
} // namespace

std::vector<std::string> zenityCommand(const FileSelectorRequest& request)
{
    std::vector<std::string> command{"zenity", "--file-selection"};
    if (request.save)
    {
        command.push_back("--save");
        command.push_back("--confirm-overwrite");
    }
    if (!request.title.empty())
        command.push_back("--title=" + request.title);
    const std::string start = startPath(request);
    if (!start.empty())
        command.push_back("--filename=" + start);
    for (const auto& type : request.extensions)
        command.push_back("--file-filter=" + type.description + " (*." + type.extension + ") | *." +
                          type.extension);
    command.push_back("--file-filter=All files | *");
    return command;
}

std::vector<std::string> kdialogCommand(const FileSelectorRequest& request)
{
    std::vector<std::string> command{"kdialog",
                                     request.save ? "--getsavefilename" : "--getopenfilename"};
    const std::string start = startPath(request);
    command.push_back(start.empty() ? "." : start);
    std::string filter;
    for (const auto& type : request.extensions)
    {
        if (!filter.empty())
            filter += '\n';
        filter += "*." + type.extension + "|" + type.description;
    }
    if (!filter.empty())
        command.push_back(filter);
    if (!request.title.empty())
    {
        command.push_back("--title");
        command.push_back(request.title);
    }
    return command;
}

std::string withDefaultExtension(std::string path, const FileSelectorRequest& request)
{
    if (!request.save || request.extensions.empty())
        return path;
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        path += "." + request.extensions.front().extension;
    return path;
}

std::optional<std::string> runExternalFileDialog(const FileSelectorRequest& request)
{
    std::optional<std::string> chosen;
    if (onPath("zenity"))
        chosen = run(zenityCommand(request));
    else if (onPath("kdialog"))
        chosen = run(kdialogCommand(request));
    else
    {
        std::fprintf(stderr, "TARVA: no file selector available: install zenity or kdialog "
                             "to load and save presets, banks and MIDI settings.\n");
        return std::nullopt;
    }
    if (!chosen)
        return std::nullopt;
    return withDefaultExtension(std::move(*chosen), request);
}
} // namespace gui
