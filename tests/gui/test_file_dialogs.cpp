// File selection: the preset system's dialog seam on a frame, and the command lines the
// Linux back end gives zenity and kdialog.
#include "GuiTest.h"

#include "gui/platform/x11/ExternalFileDialog.h"
#include "gui/platform/x11/FileChooserChain.h"
#include "presets/FrameFileDialog.h"
#include "support/TempFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

TEST_F(FrameTest, ThePresetSystemsDialogRunsTheFramesFileSelector)
{
    FrameFileDialog dialog(frame);
    std::vector<std::optional<std::string>> answers;
    const auto answered = [&](std::optional<std::string> path) { answers.push_back(path); };
    offscreen->queueFileChoice(std::string("/home/u/mine.qeb"));
    const FileRequest save{FileRequest::Mode::save, "Save bank", "/home/u/", "bank.qeb",
                           kBankFileType};
    dialog.choose(save, answered);
    const FileRequest load{FileRequest::Mode::open, "Load preset", "", "ignored", kPresetFileType};
    dialog.choose(load, answered);
    EXPECT_EQ(answers, (std::vector<std::optional<std::string>>{"/home/u/mine.qeb",
                                                                std::nullopt})); // cancelled

    const auto& requests = offscreen->fileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].defaultName, "bank.qeb");
    EXPECT_EQ(requests[0].extensions.at(0).description, "QEL Bank");
    EXPECT_FALSE(requests[1].save);
    EXPECT_EQ(requests[1].defaultName, ""); // opening names no file
    EXPECT_EQ(requests[1].extensions.at(0).extension, "qel");
}

namespace
{
FileSelectorRequest presetRequest(bool save)
{
    FileSelectorRequest request;
    request.save = save;
    request.title = "Save preset";
    request.initialDirectory = "/home/u/presets";
    request.defaultName = "Init.qel";
    request.extensions.push_back({"QEL Preset", "qel"});
    return request;
}
} // namespace

TEST(ExternalFileDialog, ZenityAndKdialogGetTitleFolderNameAndFilters)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(gui::zenityCommand(presetRequest(true)),
              (Args{"zenity", "--file-selection", "--save", "--confirm-overwrite",
                    "--title=Save preset", "--filename=/home/u/presets/Init.qel",
                    "--file-filter=QEL Preset (*.qel) | *.qel", "--file-filter=All files | *"}));
    EXPECT_EQ(gui::zenityCommand(presetRequest(false))[2], "--title=Save preset");
    EXPECT_EQ(gui::zenityCommand(presetRequest(false))[3], "--filename=/home/u/presets/");
    EXPECT_EQ(gui::kdialogCommand(presetRequest(false)),
              (Args{"kdialog", "--getopenfilename", "/home/u/presets/", "*.qel|QEL Preset",
                    "--title", "Save preset"}));
    EXPECT_EQ(gui::kdialogCommand(presetRequest(true))[2], "/home/u/presets/Init.qel");
}

TEST(ExternalFileDialog, ASavedNameWithoutExtensionGetsTheFiltersOne)
{
    const auto save = presetRequest(true);
    EXPECT_EQ(gui::withDefaultExtension("/a/b/mine", save), "/a/b/mine.qel");
    EXPECT_EQ(gui::withDefaultExtension("/a/b/mine.qel", save), "/a/b/mine.qel");
    EXPECT_EQ(gui::withDefaultExtension("/a/b.c/mine", save), "/a/b.c/mine.qel");
    EXPECT_EQ(gui::withDefaultExtension("/a/b/mine", presetRequest(false)), "/a/b/mine");
}

namespace
{
// zenity or kdialog as far as the dialog can tell: the selector prints the file "answer"
// as its choice; the question exits with the status in the file "reply". Each call's first
// option is logged.
// clang-format off
const char* const kStandIn = R"sh(#!/bin/sh
dir="$(dirname "$0")"
for option in "$@"; do
    case "$option" in --question|--warningyesno)
        echo "$option" >> "$dir/calls"
        exit "$(cat "$dir/reply")";;
    esac
done
echo "$1" >> "$dir/calls"
cat "$dir/answer"
)sh";
// clang-format on

class StandInSelector
{
public:
    // The search path holds the stand-in alone (and what its script needs), so that the
    // dialog cannot find a real zenity or kdialog first.
    explicit StandInSelector(const std::string& program = "zenity")
    {
        std::ofstream(bin.file(program)) << kStandIn;
        std::filesystem::permissions(bin.file(program), std::filesystem::perms::owner_all);
        for (const char* tool : {"dirname", "cat"})
            for (const char* folder : {"/usr/bin/", "/bin/"})
                if (std::filesystem::exists(std::string(folder) + tool) &&
                    !std::filesystem::exists(bin.file(tool)))
                    std::filesystem::create_symlink(std::string(folder) + tool, bin.file(tool));
        searchPath.emplace("PATH", bin.path().string());
    }

    // Runs the dialog to its end with the selector writing answer and the question, if
    // asked, exiting with reply; what it chose.
    std::optional<std::string> choose(bool save, const std::string& answer, int reply = 1)
    {
        std::ofstream(bin.file("answer"), std::ios::binary) << answer;
        std::ofstream(bin.file("reply")) << reply;
        std::filesystem::remove(bin.file("calls"));
        gui::ExternalFileDialog dialog;
        if (!dialog.start(presetRequest(save)))
            return "not started";
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!dialog.poll() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return dialog.chosen();
    }

    std::string calls() const
    {
        std::stringstream text;
        text << std::ifstream(bin.file("calls")).rdbuf();
        return text.str();
    }

    TempFolder files;

private:
    TempFolder bin;
    std::optional<ScopedEnvironment> searchPath;
};
} // namespace

TEST(ExternalFileDialog, APathWithANewlineIsRefusedNotCut)
{
    StandInSelector zenity;
    const std::string dir = zenity.files.path().string() + "/";
    EXPECT_EQ(zenity.choose(false, dir + "echo.qel\n"), dir + "echo.qel");
    EXPECT_EQ(zenity.choose(false, dir + "echo.qel\nrest.qel\n"), std::nullopt);
    EXPECT_EQ(zenity.choose(true, dir + "new\nline\n"), std::nullopt);
    EXPECT_EQ(zenity.choose(false, dir + "ends in a newline\n\n"), std::nullopt);
    EXPECT_EQ(zenity.choose(false, "\n"), std::nullopt);
}

TEST(ExternalFileDialog, ReplacingTheFileWithTheAddedExtensionIsAskedFirst)
{
    StandInSelector zenity;
    const std::string dir = zenity.files.path().string() + "/";
    std::ofstream(dir + "echo.qel") << "mine";

    // zenity asked about "echo", which does not exist; "echo.qel" does.
    EXPECT_EQ(zenity.choose(true, dir + "echo\n", 1), std::nullopt);
    EXPECT_EQ(zenity.calls(), "--file-selection\n--question\n");
    EXPECT_EQ(zenity.choose(true, dir + "echo\n", 0), dir + "echo.qel");

    // Asked already by zenity, or nothing to replace: no second question.
    EXPECT_EQ(zenity.choose(true, dir + "echo.qel\n"), dir + "echo.qel");
    EXPECT_EQ(zenity.choose(true, dir + "fresh\n"), dir + "fresh.qel");
    EXPECT_EQ(zenity.calls(), "--file-selection\n");
    EXPECT_EQ(zenity.choose(false, dir + "echo\n"), dir + "echo"); // opening adds nothing

    StandInSelector kdialog("kdialog");
    EXPECT_EQ(kdialog.choose(true, dir + "echo\n", 1), std::nullopt);
    EXPECT_EQ(kdialog.calls(), "--getsavefilename\n--warningyesno\n");
    EXPECT_EQ(kdialog.choose(true, dir + "echo\n", 0), dir + "echo.qel");
}

namespace
{
// A way of asking that answers after two polls, as scripted; it writes what it was asked
// to a shared log.
struct ScriptedWay : gui::FileChooser
{
    enum class Script
    {
        refuseToStart,
        turnOutUnavailable,
        answer,
    };
    ScriptedWay(std::string name, Script script, std::optional<std::string> reply,
                bool addsExtension, std::string& log)
        : name(std::move(name)), script(script), reply(std::move(reply)),
          addsExtension(addsExtension), log(log)
    {
    }
    bool start(const FileSelectorRequest&) override
    {
        log += name + ":choose ";
        return script != Script::refuseToStart;
    }
    bool startReplaceQuestion(const FileSelectorRequest&, const std::string& path) override
    {
        log += name + ":ask " + path.substr(path.rfind('/') + 1) + " ";
        return script != Script::refuseToStart;
    }
    bool poll() override { return ++polls > 2; }
    const std::optional<std::string>& chosen() const noexcept override { return reply; }
    bool unavailable() const noexcept override { return script == Script::turnOutUnavailable; }
    bool handlesAddedExtension() const noexcept override { return addsExtension; }

    std::string name;
    Script script;
    std::optional<std::string> reply;
    bool addsExtension;
    std::string& log;
    int polls = 0;
};

struct Way
{
    std::string name;
    ScriptedWay::Script script;
    std::optional<std::string> reply;
    bool addsExtension = true;
};

std::optional<std::string> runChain(const std::vector<Way>& ways, std::string& log)
{
    std::vector<gui::FileChooserChain::Maker> makers;
    for (const Way& way : ways)
        makers.push_back(
            [way, &log] {
                return std::make_unique<ScriptedWay>(way.name, way.script, way.reply,
                                                     way.addsExtension, log);
            });
    gui::FileChooserChain chain(std::move(makers));
    if (!chain.start(presetRequest(true)))
        return "nothing started";
    for (int i = 0; i < 100 && !chain.poll(); ++i)
    {
    }
    return chain.chosen();
}
} // namespace

// The portal may be absent, or found absent only once asked; whichever way chose a name
// without the extension, an existing file of the name with it is replaced only after a
// later way asked and the user said yes.
TEST(FileChooserChain, FallsThroughToAWayThatWorksAndAsksBeforeReplacingAnAddedName)
{
    using S = ScriptedWay::Script;
    TempFolder files;
    const std::string dir = files.path().string() + "/";
    std::ofstream(dir + "echo.qel") << "mine";
    std::string log;

    EXPECT_EQ(runChain({{"portal", S::turnOutUnavailable, std::nullopt},
                        {"zenity", S::refuseToStart, std::nullopt},
                        {"ours", S::answer, dir + "a.qel"}},
                       log),
              dir + "a.qel");
    EXPECT_EQ(log, "portal:choose zenity:choose ours:choose ");

    log.clear();
    EXPECT_EQ(runChain({{"portal", S::answer, dir + "fresh", false}}, log), dir + "fresh.qel");

    log.clear();
    EXPECT_EQ(runChain({{"portal", S::answer, dir + "echo", false},
                        {"zenity", S::refuseToStart, std::nullopt},
                        {"ours", S::answer, dir + "echo.qel"}},
                       log),
              dir + "echo.qel");
    EXPECT_EQ(log, "portal:choose zenity:ask echo.qel ours:ask echo.qel ");

    log.clear();
    EXPECT_EQ(runChain({{"portal", S::answer, dir + "echo", false},
                        {"ours", S::answer, std::nullopt}}, // "no"
                       log),
              std::nullopt);
    EXPECT_EQ(runChain({{"portal", S::answer, dir + "echo", false}}, log), std::nullopt);

    log.clear();
    EXPECT_EQ(runChain({{"portal", S::refuseToStart, std::nullopt}}, log), "nothing started");
}
