// The popup menu's layout, choosing and painting, offscreen: what the X11 window shows.
#include "gui/PopupMenuView.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kRow = 16;

PopupMenuView twoColumnMenu()
{
    PopupMenuRequest request;
    request.items = {{"One", true, true, false},
                     {"Two", false, true, false},
                     {"", false, true, true},
                     {"Three", false, false, false},
                     {"Four", false, true, false}};
    request.itemsPerColumn = 3;
    return PopupMenuView(request);
}

// Whether any pixel of the rectangle differs from the colour at its top left corner.
bool marked(const PixelBuffer& pixels, int left, int top, int right, int bottom)
{
    const std::uint32_t background = pixels.at(left, top);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (pixels.at(x, y) != background)
                return true;
    return false;
}
} // namespace

TEST(PopupMenuViewTest, ColumnsChooseOnlyEnabledEntriesAndTheKeysSkipTheRest)
{
    PopupMenuView menu = twoColumnMenu();
    ASSERT_EQ(menu.getHeight(), 3 * kRow);
    const int column = menu.getWidth() / 2;
    ASSERT_GT(column, 0);
    EXPECT_EQ(menu.getWidth(), 2 * column);

    EXPECT_EQ(menu.itemAt(2, 2), 0);
    EXPECT_EQ(menu.itemAt(2, kRow + 2), 1);
    EXPECT_EQ(menu.itemAt(2, 2 * kRow + 8), -1);      // the separator
    EXPECT_EQ(menu.itemAt(column + 2, 2), -1);        // disabled
    EXPECT_EQ(menu.itemAt(column + 2, kRow + 2), 4);  // second column
    EXPECT_EQ(menu.itemAt(column + 2, 2 * kRow), -1); // no entry there
    EXPECT_EQ(menu.itemAt(-1, 2), -1);
    EXPECT_EQ(menu.itemAt(2, menu.getHeight()), -1);

    const int down[] = {0, 1, 4, 0};
    for (const int expected : down)
    {
        menu.walk(true);
        EXPECT_EQ(menu.getHighlighted(), expected);
    }
    menu.walk(false);
    EXPECT_EQ(menu.getHighlighted(), 4);
    EXPECT_FALSE(menu.setHighlighted(4));
    EXPECT_TRUE(menu.setHighlighted(-1));
}

TEST(PopupMenuViewTest, PaintsTheTickTheSeparatorAndTheHighlight)
{
    PopupMenuView menu = twoColumnMenu();
    PixelBuffer pixels(menu.getWidth(), menu.getHeight());
    menu.paint(pixels);
    // The tick sits left of the title, in the checked row only.
    EXPECT_TRUE(marked(pixels, 2, 2, 14, 14));
    EXPECT_FALSE(marked(pixels, 2, kRow + 2, 14, kRow + 14));
    // The separator is a grey line across the middle of its row.
    const std::uint32_t background = pixels.at(2, 2 * kRow + 2);
    const std::uint32_t line = pixels.at(menu.getWidth() / 4, 2 * kRow + kRow / 2);
    EXPECT_NE(line, background);
    EXPECT_EQ(line, pixels.at(8, 2 * kRow + kRow / 2));

    menu.setHighlighted(1);
    menu.paint(pixels);
    EXPECT_NE(pixels.at(2, kRow + 2), background);
    EXPECT_EQ(pixels.at(2, 2 * kRow + 2), background);
}
