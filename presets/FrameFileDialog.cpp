#include "presets/FrameFileDialog.h"

#include "gui/controls/CFileSelector.h"

#include <memory>

std::optional<std::string> FrameFileDialog::choose(const FileRequest& request)
{
    const auto style = request.mode == FileRequest::Mode::save ? CNewFileSelector::kSelectSaveFile
                                                               : CNewFileSelector::kSelectFile;
    std::unique_ptr<CNewFileSelector, void (*)(CNewFileSelector*)> selector(
        CNewFileSelector::create(frame, style), [](CNewFileSelector* s) { s->forget(); });
    selector->setTitle(request.title);
    selector->setInitialDirectory(request.initialDirectory);
    if (request.mode == FileRequest::Mode::save)
        selector->setDefaultSaveName(request.defaultName);
    selector->addFileExtension(CFileExtension(request.type.description, request.type.extension));
    if (!selector->runModal())
        return std::nullopt;
    return std::string(selector->getSelectedFile(0));
}
