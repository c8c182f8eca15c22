// A frame without a window: for tests and screenshots. Keeps what was presented, takes the
// mouse position, menu choices and file choices from its owner, and writes PNG files.
// Menus and file selectors answer at once, before the call returns, as modal ones do.
#pragma once

#include "gui/IPlatformFrame.h"

#include <deque>

class OffscreenFrame : public IPlatformFrame
{
public:
    void present(const PixelBuffer& buffer, std::span<const CRect> rects) override;
    void processEvents() override {}
    bool getCurrentMousePosition(CPoint& where) const override;
    void popupMenu(const PopupMenuRequest& request, PopupMenuCompletion completion) override;
    void chooseFile(const FileSelectorRequest& request, FileSelectorCompletion completion) override;
    void onFrameClosed() override {}

    // The mouse, as a window would report it; nothing while it is outside.
    void setMousePosition(std::optional<CPoint> where) noexcept { mouse = where; }
    // Answers for the next popups (-1 cancels) and file selectors (nothing cancels).
    void queueMenuChoice(int index) { menuChoices.push_back(index); }
    void queueFileChoice(std::optional<std::string> path)
    {
        fileChoices.push_back(std::move(path));
    }

    const std::vector<CRect>& presentedRects() const noexcept { return presented; }
    void clearPresented() noexcept { presented.clear(); }
    const std::vector<PopupMenuRequest>& menuRequests() const noexcept { return menus; }
    const std::vector<FileSelectorRequest>& fileRequests() const noexcept { return files; }

private:
    std::optional<CPoint> mouse;
    std::deque<int> menuChoices;
    std::deque<std::optional<std::string>> fileChoices;
    std::vector<CRect> presented;
    std::vector<PopupMenuRequest> menus;
    std::vector<FileSelectorRequest> files;
};

namespace gui
{
// Writes the buffer as an RGB PNG file; false when it cannot.
bool writePng(const PixelBuffer& buffer, const char* path);
} // namespace gui
