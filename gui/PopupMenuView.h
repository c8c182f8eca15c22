// The popup menu without a window: its layout in rows and columns, which entry a point
// chooses, keyboard walking and painting into a pixel buffer. A back end hosts it in a
// window of its own and feeds it the window's coordinates.
#pragma once

#include "gui/IPlatformFrame.h"
#include "gui/PixelBuffer.h"

class PopupMenuView
{
public:
    explicit PopupMenuView(PopupMenuRequest menu);

    int getWidth() const noexcept { return menuWidth; }
    int getHeight() const noexcept { return menuHeight; }
    const PopupMenuRequest& getRequest() const noexcept { return request; }

    bool contains(int x, int y) const noexcept;
    // The entry a point chooses, or -1: outside, a separator, or a disabled entry.
    int itemAt(int x, int y) const noexcept;

    int getHighlighted() const noexcept { return highlighted; }
    // True when the highlight moved, so the menu must be painted again.
    bool setHighlighted(int index) noexcept;
    // The next choosable entry down or up, wrapping around.
    void walk(bool down) noexcept;

    void paint(PixelBuffer& pixels) const;

private:
    static constexpr int kRowHeight = 16;
    static constexpr int kCheckWidth = 16;

    PopupMenuRequest request;
    int count = 0;
    int perColumn = 1;
    int columnWidth = 60;
    int menuWidth = 0;
    int menuHeight = 0;
    int highlighted = -1;
};
