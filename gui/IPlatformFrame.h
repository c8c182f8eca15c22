// The narrow interface between a frame and the window system: the frame draws into its
// own pixel buffer and hands finished rectangles to the back end; the back end feeds
// mouse and key events back through the frame's public event functions. Popup menus and
// file selectors never keep the host waiting where the window system allows: they start,
// and their answer arrives later through a completion.
#pragma once

#include "gui/CGraphics.h"
#include "gui/PixelBuffer.h"

#include <functional>
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

// The chosen entry's index, or -1 when the menu was cancelled.
using PopupMenuCompletion = std::function<void(int chosen)>;
// The chosen path, UTF-8, or nothing when the selector was cancelled.
using FileSelectorCompletion = std::function<void(std::optional<std::string> path)>;

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

    // Both open what they are asked for and return. The completion runs once, on the
    // user-interface thread: from a later processEvents, or before the call returns where
    // the window system's own menu or dialog is modal. A frame holds one menu and one
    // selector at a time: a request while one is open is refused, its completion called
    // at once with the cancel answer, so that every caller hears back exactly once.
    // Closing the frame first ends them without calling their completions.
    virtual void popupMenu(const PopupMenuRequest& request, PopupMenuCompletion completion) = 0;
    virtual void chooseFile(const FileSelectorRequest& request,
                            FileSelectorCompletion completion) = 0;

    // The frame is closing: an open menu or file selector ends unanswered (its completion
    // is destroyed uncalled) and no more events reach the frame. The back end itself may
    // live on until the event handling it is inside of returns.
    virtual void onFrameClosed() = 0;
};
