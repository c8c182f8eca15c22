// File selection: the preset system's dialog seam on a frame, and the command lines the
// Linux back end gives zenity and kdialog.
#include "GuiTest.h"

#include "gui/platform/x11/ExternalFileDialog.h"
#include "presets/FrameFileDialog.h"

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
