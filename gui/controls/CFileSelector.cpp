#include "gui/controls/CFileSelector.h"

#include "gui/CFrame.h"

#include <memory>

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style)
{
    return new CNewFileSelector(parent, style);
}

CNewFileSelector::CNewFileSelector(CFrame* parent, Style style) : parent(parent)
{
    request.save = style == kSelectSaveFile;
}

bool CNewFileSelector::run(CallbackFunc&& callback)
{
    selected.clear();
    if (!parent || !parent->getPlatformFrame())
        return false;
    remember();
    const std::shared_ptr<CNewFileSelector> self(this, [](CNewFileSelector* selector)
                                                 { selector->forget(); });
    parent->getPlatformFrame()->chooseFile(
        request,
        [self, callback = std::move(callback)](std::optional<std::string> chosen)
        {
            self->selected = chosen ? std::move(*chosen) : std::string();
            if (callback)
                callback(self.get());
        });
    return true;
}
