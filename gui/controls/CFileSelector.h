// A file selector run by the window system: open or save, with a title, a start folder, a
// default name and file-type filters. It runs beside the host: run starts it and returns,
// and the callback hears the user's answer later.
#pragma once

#include "gui/CBaseObject.h"
#include "gui/IPlatformFrame.h"

#include <functional>
#include <string>

class CFrame;

struct CFileExtension
{
    CFileExtension(const char* description, const char* extension)
        : description(description ? description : ""), extension(extension ? extension : "")
    {
    }
    std::string description;
    std::string extension; // without the dot
};

class CNewFileSelector : public CBaseObject
{
public:
    enum Style
    {
        kSelectFile,
        kSelectSaveFile,
    };
    using CallbackFunc = std::function<void(CNewFileSelector*)>;

    static CNewFileSelector* create(CFrame* parent, Style style = kSelectFile);

    void setTitle(const char* title) { request.title = title ? title : ""; }
    void setInitialDirectory(const char* path) { request.initialDirectory = path ? path : ""; }
    void setDefaultSaveName(const char* name) { request.defaultName = name ? name : ""; }
    void addFileExtension(const CFileExtension& extension)
    {
        request.extensions.push_back({extension.description, extension.extension});
    }
    // Starts the selector and returns. The callback runs once the user has chosen or
    // cancelled (getNumSelectedFiles tells which), on the user-interface thread: from the
    // frame's idle, or before run returns where the window system's dialog is modal. The
    // selector keeps itself alive until then, so the caller may forget it at once. A frame
    // that closes first never calls it. False when there is no window to ask in.
    bool run(CallbackFunc&& callback);
    std::int32_t getNumSelectedFiles() const noexcept { return selected.empty() ? 0 : 1; }
    const char* getSelectedFile(std::int32_t index) const
    {
        return index == 0 && !selected.empty() ? selected.c_str() : nullptr;
    }

private:
    CNewFileSelector(CFrame* parent, Style style);

    CFrame* parent;
    FileSelectorRequest request;
    std::string selected;
};
