// A file selector run by the window system: open or save, with a title, a start folder, a
// default name and file-type filters.
#pragma once

#include "gui/IPlatformFrame.h"

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

class CNewFileSelector
{
public:
    enum Style
    {
        kSelectFile,
        kSelectSaveFile,
    };

    static CNewFileSelector* create(CFrame* parent, Style style = kSelectFile);

    void setTitle(const char* title) { request.title = title ? title : ""; }
    void setInitialDirectory(const char* path) { request.initialDirectory = path ? path : ""; }
    void setDefaultSaveName(const char* name) { request.defaultName = name ? name : ""; }
    void addFileExtension(const CFileExtension& extension)
    {
        request.extensions.push_back({extension.description, extension.extension});
    }
    // Modal; true when the user chose a file.
    bool runModal();
    std::int32_t getNumSelectedFiles() const noexcept { return selected.empty() ? 0 : 1; }
    const char* getSelectedFile(std::int32_t index) const
    {
        return index == 0 && !selected.empty() ? selected.c_str() : nullptr;
    }
    void forget() { delete this; }

private:
    CNewFileSelector(CFrame* parent, Style style);

    CFrame* parent;
    FileSelectorRequest request;
    std::string selected;
};
