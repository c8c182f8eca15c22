// The toolkit's own file chooser without a window: a temporary folder of presets, a bank,
// other files and folders, and synthetic clicks and keys.
#include "gui/CDrawContext.h"
#include "gui/FileChooserPanel.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{
using gui::FileChooserPanel;
using Names = std::vector<std::string>;

void touch(const std::filesystem::path& file)
{
    std::ofstream(file) << "x";
}

FileSelectorRequest presetRequest(bool save, const TempFolder& folder)
{
    return {save,
            save ? "Save preset" : "Load preset",
            folder.path().string(),
            "Init",
            {{"QEL Preset", "qel"}}};
}

void press(FileChooserPanel& panel, std::uint8_t virtualKey, int times = 1)
{
    for (int i = 0; i < times; ++i)
    {
        CKeyCode key;
        key.virt = virtualKey;
        panel.onKeyDown(key);
    }
}

void type(FileChooserPanel& panel, const std::string& text)
{
    for (const char c : text)
    {
        CKeyCode key;
        key.character = static_cast<unsigned char>(c);
        panel.onKeyDown(key);
    }
}

void click(FileChooserPanel& panel, const CPoint& where, bool doubleClick = false)
{
    panel.onMouseDown(where, CButtonState(kLButton | (doubleClick ? kDoubleClick : 0)));
    panel.onMouseUp(where, CButtonState());
}

// A click on the entry of that name; a double click is a second press that says so.
void clickEntry(FileChooserPanel& panel, const std::string& name, bool doubleClick = false)
{
    const Names names = panel.getEntryNames();
    const auto index =
        static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    const CRect row = panel.getEntryRect(index);
    ASSERT_FALSE(row.isEmpty()) << name << " is not in view";
    const CPoint middle((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    click(panel, middle);
    if (doubleClick)
        click(panel, middle, true);
}

// Open, Save or Replace.
void clickDefaultButton(FileChooserPanel& panel)
{
    const CRect button = panel.getDefaultButtonRect();
    click(panel, CPoint((button.left + button.right) / 2, (button.top + button.bottom) / 2));
}

std::string selectedName(const FileChooserPanel& panel)
{
    const int selected = panel.getSelectedEntry();
    return selected >= 0 ? panel.getEntryNames().at(static_cast<std::size_t>(selected)) : "";
}

class FileChooserPanelTest : public ::testing::Test
{
protected:
    FileChooserPanelTest()
    {
        for (const char* name :
             {"echo.qel", "Zeta.qel", "beta.QEL", "bank.qeb", "notes.txt", ".hidden.qel", "qel"})
            touch(folder.path() / name);
        for (const char* name : {"Sub", "archive", ".git"})
            std::filesystem::create_directory(folder.path() / name);
        touch(folder.path() / "Sub" / "inner.qel");
    }

    TempFolder folder;
};
} // namespace

TEST_F(FileChooserPanelTest, BrowsingListsFoldersThenPresetsAndOpensByDoubleClickOrReturn)
{
    FileChooserPanel panel(presetRequest(false, folder));
    EXPECT_EQ(panel.getFolder(), folder.path());
    // Case does not matter, neither in the order nor in the extension; hidden entries, other
    // types and a name that only looks like the extension are left out.
    EXPECT_EQ(panel.getEntryNames(),
              (Names{"..", "archive", "Sub", "beta.QEL", "echo.qel", "Zeta.qel"}));
    EXPECT_EQ(selectedName(panel), "beta.QEL"); // Return opens the first preset at once

    clickEntry(panel, "Sub", true);
    EXPECT_EQ(panel.getFolder(), folder.path() / "Sub");
    EXPECT_EQ(panel.getEntryNames(), (Names{"..", "inner.qel"}));
    press(panel, VKEY_UP);
    press(panel, VKEY_RETURN); // on ".."
    EXPECT_EQ(panel.getFolder(), folder.path());
    EXPECT_EQ(selectedName(panel), "Sub"); // where we came from

    // One click selects, the second of a double click opens.
    clickEntry(panel, "echo.qel");
    EXPECT_FALSE(panel.isDone());
    clickEntry(panel, "echo.qel", true);
    ASSERT_TRUE(panel.isDone());
    EXPECT_EQ(panel.chosen(), folder.file("echo.qel"));
}

TEST_F(FileChooserPanelTest, SavingAddsTheExtensionAndReplacesAFileOnlyAfterAsking)
{
    FileChooserPanel panel(presetRequest(true, folder));
    EXPECT_EQ(panel.getTypedName(), "Init");
    press(panel, VKEY_BACK, 4);
    press(panel, VKEY_RETURN); // an empty name does nothing
    EXPECT_FALSE(panel.isDone());
    EXPECT_EQ(panel.getMessage(), "");

    type(panel, "a/b");
    press(panel, VKEY_RETURN);
    EXPECT_FALSE(panel.isDone());
    EXPECT_EQ(panel.getMessage(), "A name cannot contain '/' or a line break.");
    EXPECT_EQ(panel.getQuestion(), "");

    // "echo" is new, but "echo.qel", the file it would be saved as, is not.
    press(panel, VKEY_HOME);
    press(panel, VKEY_DELETE, 3);
    type(panel, "echo");
    EXPECT_EQ(panel.getMessage(), ""); // typing took the complaint away
    press(panel, VKEY_RETURN);
    EXPECT_EQ(panel.getQuestion(), "Replace 'echo.qel'?");
    EXPECT_FALSE(panel.isDone());
    press(panel, VKEY_ESCAPE); // only the question goes
    EXPECT_EQ(panel.getQuestion(), "");
    EXPECT_FALSE(panel.isDone());
    EXPECT_EQ(panel.getTypedName(), "echo");

    // Clicking a preset takes its name; Return on it asks again, Replace answers.
    clickEntry(panel, "Zeta.qel");
    EXPECT_EQ(panel.getTypedName(), "Zeta.qel");
    press(panel, VKEY_RETURN);
    EXPECT_EQ(panel.getQuestion(), "Replace 'Zeta.qel'?");
    clickDefaultButton(panel);
    ASSERT_TRUE(panel.isDone());
    EXPECT_EQ(panel.chosen(), folder.file("Zeta.qel"));

    // A folder's name goes there; a new name is saved at once.
    FileChooserPanel second(presetRequest(true, folder));
    press(second, VKEY_BACK, 4);
    type(second, "Sub");
    press(second, VKEY_RETURN);
    EXPECT_EQ(second.getFolder(), folder.path() / "Sub");
    type(second, "fresh");
    clickDefaultButton(second);
    ASSERT_TRUE(second.isDone());
    EXPECT_EQ(second.chosen(), folder.file("Sub/fresh.qel"));
}

TEST_F(FileChooserPanelTest, TheQuestionAloneAnswersThePathOnlyForReplace)
{
    FileChooserPanel declined(presetRequest(true, folder), folder.file("echo.qel"));
    EXPECT_EQ(declined.getQuestion(), "Replace 'echo.qel'?");
    press(declined, VKEY_ESCAPE);
    ASSERT_TRUE(declined.isDone());
    EXPECT_EQ(declined.chosen(), std::nullopt);

    FileChooserPanel replaced(presetRequest(true, folder), folder.file("echo.qel"));
    clickDefaultButton(replaced);
    ASSERT_TRUE(replaced.isDone());
    EXPECT_EQ(replaced.chosen(), folder.file("echo.qel"));
}

TEST(FileChooserPanel, KeysKeepTheSelectionInViewAndTheWheelScrolls)
{
    TempFolder folder;
    for (int i = 0; i < 40; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "preset %02d.qel", i);
        touch(folder.path() / name);
    }
    FileChooserPanel panel(presetRequest(false, folder));
    const auto inView = [&](int index) { return !panel.getEntryRect(index).isEmpty(); };
    press(panel, VKEY_DOWN, 30);
    EXPECT_EQ(panel.getSelectedEntry(), 31);
    EXPECT_TRUE(inView(31));
    EXPECT_FALSE(inView(0));
    press(panel, VKEY_PAGEDOWN, 2);
    EXPECT_EQ(panel.getSelectedEntry(), 40); // the last
    EXPECT_TRUE(inView(40));
    press(panel, VKEY_PAGEUP);
    EXPECT_TRUE(inView(panel.getSelectedEntry()));
    press(panel, VKEY_HOME);
    EXPECT_TRUE(inView(0));

    panel.onWheel(CPoint(100, 100), -1.0f); // towards the user: further down the list
    EXPECT_FALSE(inView(0));
    EXPECT_TRUE(inView(3));

    // The selected row is drawn in the highlight colour, right of its name.
    press(panel, VKEY_DOWN, 5);
    PixelBuffer pixels(static_cast<int>(panel.getSize().x), static_cast<int>(panel.getSize().y));
    CDrawContext context(pixels);
    panel.draw(context);
    EXPECT_TRUE(panel.getDirtyRect().isEmpty());
    const CRect row = panel.getEntryRect(5);
    EXPECT_EQ(pixels.at(static_cast<int>(row.right) - 3, static_cast<int>(row.top) + 9) & 0xffffffu,
              0x3060a0u);
    const CRect other = panel.getEntryRect(6);
    EXPECT_EQ(pixels.at(static_cast<int>(other.right) - 3, static_cast<int>(other.top) + 9),
              0xffffffffu);
}
