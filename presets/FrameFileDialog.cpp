#include "presets/FrameFileDialog.h"

#include "gui/controls/CFileSelector.h"

#include <memory>

void FrameFileDialog::choose(const FileRequest& request, Completion done)
{
    const auto style = request.mode == FileRequest::Mode::save ? CNewFileSelector::kSelectSaveFile
                                                               : CNewFileSelector::kSelectFile;
    // The selector keeps itself while it runs; this reference is only for setting it up.
    std::unique_ptr<CNewFileSelector, void (*)(CNewFileSelector*)> selector(
        CNewFileSelector::create(frame, style), [](CNewFileSelector* s) { s->forget(); });
    selector->setTitle(request.title);
    selector->setInitialDirectory(request.initialDirectory);
    if (request.mode == FileRequest::Mode::save)
        selector->setDefaultSaveName(request.defaultName);
    selector->addFileExtension(CFileExtension(request.type.description, request.type.extension));
    selector->run(
        [done = std::move(done)](CNewFileSelector* chosen)
        {
            if (chosen->getNumSelectedFiles() == 0)
                done(std::nullopt);
            else
                done(std::string(chosen->getSelectedFile(0)));
        });
}
