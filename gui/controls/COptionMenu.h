// A control that opens a popup list of entries; choosing one makes it current (the value is
// its index) and tells the listener. The list is the window system's own popup, so it may
// reach far beyond the frame; the press only opens it, and the choice arrives later.
#pragma once

#include "gui/controls/CParamDisplay.h"

#include <string>
#include <vector>

// Menu styles, besides those of CParamDisplay.
inline constexpr std::int32_t kCheckStyle = 1 << 9; // the current entry carries a check mark
inline constexpr std::int32_t kPopupStyle = 1
                                            << 10; // the list opens over the control, not below it
inline constexpr std::int32_t kNoMenuTextStyle = 1 << 11;    // the control shows no title
inline constexpr std::int32_t kNoMenuFrameStyle = 1 << 12;   // the control draws no frame
inline constexpr std::int32_t kMultipleCheckStyle = 1 << 13; // entries keep their own check marks

// An entry's title is only ever text, whatever it says: program names are the user's, and
// a name of "-" is still a program to choose. Separators are made as such.
class CMenuItem
{
public:
    enum Flags : std::int32_t
    {
        kNoFlags = 0,
        kSeparator = 1 << 0,
    };

    explicit CMenuItem(std::string title, std::int32_t flags = kNoFlags)
        : title(std::move(title)), separator((flags & kSeparator) != 0)
    {
    }
    const char* getTitle() const noexcept { return title.c_str(); }
    void setTitle(const char* newTitle) { title = newTitle ? newTitle : ""; }
    bool isChecked() const noexcept { return checked; }
    void setChecked(bool state) noexcept { checked = state; }
    bool isEnabled() const noexcept { return enabled; }
    void setEnabled(bool state) noexcept { enabled = state; }
    bool isSeparator() const noexcept { return separator; }

private:
    std::string title;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
};

class COptionMenu : public CParamDisplay
{
public:
    COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr,
                std::int32_t style = 0);
    COptionMenu(const COptionMenu& other);
    ~COptionMenu() override;

    // index -1 appends. The entry, or null.
    CMenuItem* addEntry(const char* title, std::int32_t index = -1);
    CMenuItem* addSeparator(std::int32_t index = -1);
    bool removeEntry(std::int32_t index);
    bool removeAllEntry();
    std::int32_t getNbEntries() const noexcept { return static_cast<std::int32_t>(items.size()); }
    CMenuItem* getEntry(std::int32_t index) const;
    CMenuItem* getCurrent() const { return getEntry(getCurrentIndex()); }
    std::int32_t getCurrentIndex() const noexcept;
    bool setCurrent(std::int32_t index, bool countSeparator = true);
    // Columns of n entries; 0 for one column.
    void setNbItemsPerColumn(std::int32_t n) noexcept { itemsPerColumn = n; }
    std::int32_t getNbItemsPerColumn() const noexcept { return itemsPerColumn; }
    // The index chosen in the last popup, or -1.
    std::int32_t getLastResult() const noexcept { return lastResult; }
    // Whether its popup is up, waiting for the user.
    bool isPopupOpen() const noexcept { return open; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new COptionMenu(*this); }

private:
    CMenuItem* insertEntry(CMenuItem item, std::int32_t index);
    void popupClosed(std::int32_t chosen);

    std::vector<CMenuItem> items;
    CBitmap* bgWhenClick = nullptr;
    std::int32_t itemsPerColumn = 0;
    std::int32_t lastResult = -1;
    bool open = false;
};
