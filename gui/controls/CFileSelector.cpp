#include "gui/controls/CFileSelector.h"

#include "gui/CFrame.h"

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style)
{
    return new CNewFileSelector(parent, style);
}

CNewFileSelector::CNewFileSelector(CFrame* parent, Style style) : parent(parent)
{
    request.save = style == kSelectSaveFile;
}

bool CNewFileSelector::runModal()
{
    selected.clear();
    if (!parent || !parent->getPlatformFrame())
        return false;
    auto chosen = parent->getPlatformFrame()->chooseFile(request);
    if (!chosen || chosen->empty())
        return false;
    selected = std::move(*chosen);
    return true;
}
