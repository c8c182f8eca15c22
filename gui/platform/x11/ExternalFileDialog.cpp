#include "gui/platform/x11/ExternalFileDialog.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

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

std::vector<std::string> replaceQuestionCommand(bool zenity, const std::string& title,
                                                const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::string text = "\"" + name + "\" already exists. Do you want to replace it?";
    if (zenity)
        return {"zenity", "--question", "--no-markup", "--title=" + title, "--text=" + text};
    return {"kdialog", "--title", title, "--warningyesno", text};
}

std::optional<std::string> pathFromAnswer(std::string written)
{
    // The programs end their answer with a newline. One inside it belongs to the path: a
    // path cut there would be another file.
    if (!written.empty() && written.back() == '\n')
        written.pop_back();
    if (written.empty() || written.find('\n') != std::string::npos)
        return std::nullopt;
    return written;
}

bool ExternalFileDialog::start(const FileSelectorRequest& fileRequest)
{
    if (child > 0)
        return false;
    request = fileRequest;
    std::vector<std::string> command;
    usingZenity = onPath("zenity");
    if (usingZenity)
        command = zenityCommand(request);
    else if (onPath("kdialog"))
        command = kdialogCommand(request);
    else
        return false;
    pendingReplace.reset();
    answer.reset();
    return spawn(std::move(command));
}

bool ExternalFileDialog::startReplaceQuestion(const FileSelectorRequest& fileRequest,
                                              const std::string& path)
{
    if (child > 0)
        return false;
    request = fileRequest;
    usingZenity = onPath("zenity");
    if (!usingZenity && !onPath("kdialog"))
        return false;
    answer.reset();
    pendingReplace = path;
    if (spawn(replaceQuestionCommand(usingZenity, request.title, path)))
        return true;
    pendingReplace.reset();
    return false;
}

// posix_spawn rather than fork: the host may be large and have many threads, and between
// fork and exec only a few functions are safe. The pipe's ends are closed on exec, so no
// other program the host starts keeps it open; the child gets the write end as its output.
bool ExternalFileDialog::spawn(std::vector<std::string> command)
{
    std::vector<char*> argv;
    for (auto& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    // Only our end never blocks: the program writes as usual.
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawnattr_init(&attributes);
    // The host's thread may block or ignore signals; the program starts with the
    // defaults, so that SIGTERM ends it.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int number : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD})
        sigaddset(&defaults, number);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t started = -1;
    const int failed = posix_spawnp(&started, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed != 0)
    {
        close(ends[0]);
        return false;
    }
    child = started;
    output = ends[0];
    written.clear();
    return true;
}

void ExternalFileDialog::readAvailable()
{
    // A path is short; a program that writes without end is not kept in memory.
    constexpr std::size_t kMaxOutput = 64 * 1024;
    char chunk[512];
    while (output >= 0)
    {
        const ssize_t got = read(output, chunk, sizeof chunk);
        if (got > 0 && written.size() < kMaxOutput)
            written.append(chunk, static_cast<std::size_t>(got));
        else if (got == 0 || (got < 0 && errno != EINTR))
            break; // the end, or nothing more for now (EAGAIN)
    }
}

bool ExternalFileDialog::poll()
{
    if (child <= 0)
        return true;
    readAvailable();
    int status = 0;
    const pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == 0 || (ended < 0 && errno == EINTR))
        return false;
    // ECHILD: the host reaped it (it ignores SIGCHLD or waits for every child); the
    // selectors write nothing when cancelled, so the output alone decides. The question's
    // answer is its exit status alone, so there a reaped one counts as "no".
    finish(ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0, ended < 0);
    return child <= 0;
}

void ExternalFileDialog::finish(bool exitedWell, bool reapedElsewhere)
{
    child = -1;
    readAvailable(); // what it wrote just before it ended
    close(output);
    output = -1;
    const std::string writtenNow = std::move(written);
    written.clear();

    if (pendingReplace)
    {
        if (exitedWell)
            answer = std::move(pendingReplace);
        pendingReplace.reset();
        return;
    }
    if (!exitedWell && !reapedElsewhere)
        return;
    const auto chosen = pathFromAnswer(writtenNow);
    if (!chosen)
        return;
    std::string path = withDefaultExtension(*chosen, request);
    // The selector asked about replacing the name that was typed, not the one with the
    // extension added: that file, when it exists, is asked about here.
    if (path != *chosen && access(path.c_str(), F_OK) == 0)
    {
        pendingReplace = path;
        if (!spawn(replaceQuestionCommand(usingZenity, request.title, path)))
            pendingReplace.reset();
        return;
    }
    answer = std::move(path);
}

ExternalFileDialog::~ExternalFileDialog()
{
    if (child > 0)
    {
        kill(child, SIGTERM);
        // Both programs end at once on SIGTERM. One that does not is killed after a short
        // while rather than waited for without end; either way it is reaped here.
        pid_t reaped = 0;
        for (int tries = 0; tries < 50 && reaped == 0; ++tries)
        {
            reaped = waitpid(child, nullptr, WNOHANG);
            if (reaped == 0)
            {
                const timespec pause{0, 10'000'000};
                nanosleep(&pause, nullptr);
            }
            else if (reaped < 0 && errno == EINTR)
                reaped = 0;
        }
        if (reaped == 0)
        {
            kill(child, SIGKILL);
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR)
            {
            }
        }
    }
    if (output >= 0)
        close(output);
}
} // namespace gui
