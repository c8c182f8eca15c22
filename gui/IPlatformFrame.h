// The narrow interface between a frame and the window system: the frame draws into its
// own pixel buffer and hands finished rectangles to the back end; the back end feeds
// mouse and key events back through the frame's public event functions.
#pragma once

#include "gui/CGraphics.h"
#include "gui/PixelBuffer.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

class CFrame;

struct PopupMenuItem
{
    std::string title;
    bool checked = false;
    bool enabled = true;
    bool separator = false;
};

struct PopupMenuRequest
{
    CRect anchor; // the control that opened the menu, in frame coordinates
    std::vector<PopupMenuItem> items;
    int itemsPerColumn = 0;  // 0: one column
    bool overAnchor = false; // open over the anchor rather than below it
};

struct FileExtension
{
    std::string description; // "QEL Preset"
    std::string extension;   // "qel", without the dot
};

struct FileSelectorRequest
{
    bool save = false;
    std::string title;
    std::string initialDirectory;
    std::string defaultName;
    std::vector<FileExtension> extensions;
};

class IPlatformFrame
{
public:
    virtual ~IPlatformFrame() = default;
    // Shows the buffer's rectangles on screen.
    virtual void present(const PixelBuffer& buffer, std::span<const CRect> rects) = 0;
    // Handles whatever the window system has queued, without waiting.
    virtual void processEvents() = 0;
    // The mouse in frame coordinates, outside the frame's rectangle while the pointer is
    // elsewhere; false when it is unknown.
    virtual bool getCurrentMousePosition(CPoint& where) const = 0;
    // Runs the menu until the user chooses; the chosen index, or -1.
    virtual int popupMenu(const PopupMenuRequest& request) = 0;
    // Runs a file selector; the chosen path, UTF-8, or nothing.
    virtual std::optional<std::string> chooseFile(const FileSelectorRequest& request) = 0;
};
