// A file chooser drawn by the toolkit itself, for desktops that offer no chooser of their
// own, so that saving and loading always work. It knows nothing of windows: a back end
// gives it mouse and key events in its own coordinates, draws it into a pixel buffer when
// part of it has changed, and reads the answer once it is done. User-interface thread only.
//
// It browses one folder at a time: ".." first, then the folders, then the files of the
// request's types, each group sorted without regard to case, hidden entries left out. A
// click selects; a double click, or Return, opens a folder or chooses a file. To save, the
// user types a name (clicking a file puts its name in the field); the type's extension is
// added when the name has none, and an existing file is only chosen after the user has
// answered "Replace" to the panel's own question.
#pragma once

#include "gui/CGraphics.h"
#include "gui/IPlatformFrame.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CDrawContext;

namespace gui
{
class FileChooserPanel
{
public:
    static constexpr CPoint kBrowserSize{480, 360};
    static constexpr CPoint kQuestionSize{420, 120};

    // Browses for a file to open or a name to save under, from the request's folder (or the
    // nearest one of its parents that exists, else the home folder).
    explicit FileChooserPanel(const FileSelectorRequest& request);
    // Asks only whether the existing file at path may be replaced: Replace answers path.
    FileChooserPanel(const FileSelectorRequest& request, const std::string& path);

    // kBrowserSize, or kQuestionSize for the question alone.
    CPoint getSize() const noexcept { return size; }

    // Events, in panel coordinates; each answers whether the panel used it. Buttons act on
    // the release over the button pressed. A double click is a press with kDoubleClick.
    bool onMouseDown(const CPoint& where, const CButtonState& buttons);
    bool onMouseUp(const CPoint& where, const CButtonState& buttons);
    // distance: notches, positive away from the user.
    bool onWheel(const CPoint& where, float distance);
    bool onKeyDown(const CKeyCode& key);
    // Ends without an answer, as Cancel does; for a window closed by its title bar.
    void cancel();

    // What has changed since the last draw; empty when nothing has.
    const CRect& getDirtyRect() const noexcept { return dirty; }
    // Pixels the window system has lost, to be drawn again.
    void invalidRect(const CRect& rect);
    // Draws the panel within the context's clip rectangle, and forgets what had changed.
    void draw(CDrawContext& context);

    // Once done: the chosen file's full path, or nothing when the user cancelled.
    bool isDone() const noexcept { return done; }
    const std::optional<std::string>& chosen() const noexcept { return answer; }

    // What is shown, for tests.
    const std::filesystem::path& getFolder() const noexcept { return folder; }
    std::vector<std::string> getEntryNames() const;
    int getSelectedEntry() const noexcept { return selected; }
    // The row of a listed entry; empty while it is scrolled out of view.
    CRect getEntryRect(int index) const;
    const std::string& getTypedName() const noexcept { return name; }
    const std::string& getMessage() const noexcept { return message; }
    // "Replace 'name.qel'?" while that question is asked, else empty.
    std::string getQuestion() const;
    // The button Return presses: Open or Save, or Replace while the question is asked.
    const CRect& getDefaultButtonRect() const noexcept
    {
        return replacing ? replaceRect : acceptRect;
    }

private:
    // The layout, shared by the event handling and the drawing.
    static constexpr CCoord kMargin = 10;
    static constexpr CCoord kRowHeight = 18;
    static constexpr CCoord kButtonWidth = 80;
    static constexpr CCoord kButtonHeight = 24;
    static constexpr CCoord kFieldHeight = 22;
    static constexpr CCoord kFieldPadding = 4;
    static constexpr CCoord kScrollBarWidth = 6;
    static constexpr CCoord kTextIndent = 26; // past the icon
    static constexpr CCoord kQuestionWidth = 380;
    static constexpr CCoord kQuestionHeight = 110;

    enum class Kind
    {
        parent,
        folder,
        file,
    };
    struct Entry
    {
        std::string name;
        Kind kind;
    };
    enum class Button
    {
        none,
        accept, // Open or Save
        cancel,
        replace,
        keep, // the question's Cancel
    };
    enum class Focus
    {
        list,
        name,
    };

    void layOut();

    // Browsing.
    void enterFolder(const std::filesystem::path& where, const std::string& selectName = {});
    void select(int index);
    void scrollTo(int index);
    void scrollBy(int rows);
    int entryAt(const CPoint& where) const;
    void activate(int index);
    void accept();
    void saveAs(const std::string& typed);
    void chooseExisting(const std::filesystem::path& path);
    void finish(std::optional<std::string> path);
    void showMessage(std::string text);
    void ask(const std::filesystem::path& path);
    void answerQuestion(bool replace);

    // The name field.
    bool editName(const CKeyCode& key);
    void setName(std::string text);
    void setFocus(Focus to);
    std::size_t caretAt(CCoord x) const;

    Button buttonAt(const CPoint& where) const;
    void press(Button button);
    void invalidate(const CRect& rect);

    void drawBrowser(CDrawContext& context);
    void drawList(CDrawContext& context);
    void drawNameField(CDrawContext& context);
    void drawQuestion(CDrawContext& context);
    void drawButton(CDrawContext& context, Button button, const CRect& rect, const char* label,
                    bool isDefault) const;

    FileSelectorRequest request;
    CPoint size;
    bool questionOnly = false;

    std::filesystem::path folder;
    std::vector<Entry> entries;
    int selected = -1;
    int firstVisible = 0;
    Focus focus = Focus::list;
    std::string name;
    std::size_t caret = 0;
    CCoord nameScroll = 0; // pixels of the name scrolled out at the left
    std::string message;
    std::optional<std::filesystem::path> replacing; // the question's file while it is asked
    Button pressed = Button::none;
    bool done = false;
    std::optional<std::string> answer;
    CRect dirty;

    // Where everything is, worked out once from the size and the mode.
    CRect pathRect, listRect, nameLabelRect, nameRect, messageRect, acceptRect, cancelRect;
    CRect questionRect, replaceRect, keepRect;
    int visibleRows = 1;
};
} // namespace gui
