// The file dialog the editor installs while its window is open: the toolkit's file
// selector on the window's frame.
#pragma once

#include "presets/FileDialog.h"

class CFrame;

class FrameFileDialog : public FileDialog
{
public:
    explicit FrameFileDialog(CFrame* frame) noexcept : frame(frame) {}
    void choose(const FileRequest& request, Completion done) override;

private:
    CFrame* frame;
};
