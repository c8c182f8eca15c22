#include "gui/controls/COptionMenu.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

#include <cstring>
#include <memory>

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CBitmap* background, CBitmap* bgWhenClick, std::int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick)
{
    setListener(listener);
    setTag(tag);
    if (bgWhenClick)
        bgWhenClick->remember();
    vmin = 0;
    vmax = 0;
    setValueUnbounded(0.0f);
}

COptionMenu::COptionMenu(const COptionMenu& other)
    : CParamDisplay(other), items(other.items), bgWhenClick(other.bgWhenClick),
      itemsPerColumn(other.itemsPerColumn)
{
    if (bgWhenClick)
        bgWhenClick->remember();
}

COptionMenu::~COptionMenu()
{
    if (bgWhenClick)
        bgWhenClick->forget();
}

CMenuItem* COptionMenu::addEntry(const char* title, std::int32_t index)
{
    return insertEntry(CMenuItem(title ? title : ""), index);
}

CMenuItem* COptionMenu::addSeparator(std::int32_t index)
{
    return insertEntry(CMenuItem("", CMenuItem::kSeparator), index);
}

CMenuItem* COptionMenu::insertEntry(CMenuItem item, std::int32_t index)
{
    if (index < 0 || index > getNbEntries())
        index = getNbEntries();
    const auto at = items.insert(items.begin() + index, std::move(item));
    vmax = static_cast<float>(std::max(getNbEntries() - 1, 0));
    setDirty(true);
    return &*at;
}

bool COptionMenu::removeEntry(std::int32_t index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    items.erase(items.begin() + index);
    vmax = static_cast<float>(std::max(getNbEntries() - 1, 0));
    bounceValue();
    setDirty(true);
    return true;
}

bool COptionMenu::removeAllEntry()
{
    items.clear();
    vmax = 0;
    setValueUnbounded(0.0f);
    setDirty(true);
    return true;
}

CMenuItem* COptionMenu::getEntry(std::int32_t index) const
{
    if (index < 0 || index >= getNbEntries())
        return nullptr;
    return const_cast<CMenuItem*>(&items[static_cast<std::size_t>(index)]);
}

std::int32_t COptionMenu::getCurrentIndex() const noexcept
{
    return static_cast<std::int32_t>(getValue() + 0.5f);
}

bool COptionMenu::setCurrent(std::int32_t index, bool /*countSeparator*/)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    setValue(static_cast<float>(index));
    if (style & kMultipleCheckStyle)
        items[static_cast<std::size_t>(index)].setChecked(
            !items[static_cast<std::size_t>(index)].isChecked());
    setDirty(true);
    return true;
}

void COptionMenu::draw(CDrawContext* context)
{
    if (open && bgWhenClick)
        context->drawBitmap(bgWhenClick, size, backOffset);
    else if (background)
        context->drawBitmap(background, size, backOffset);
    if (!(style & (kNoDrawStyle | kNoMenuTextStyle | kNoTextStyle)))
    {
        const CMenuItem* current = getCurrent();
        drawText(context, current ? current->getTitle() : "");
    }
    if (!(style & (kNoDrawStyle | kNoMenuFrameStyle)))
    {
        context->setFrameColor(frameColor);
        context->frameRect(size);
    }
    setDirty(false);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!(buttons.isLeftButton() || buttons.isRightButton()) || items.empty())
        return kMouseEventNotHandled;
    if (!frame || !frame->getPlatformFrame())
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    PopupMenuRequest request;
    request.anchor = size;
    request.overAnchor = (style & kPopupStyle) != 0;
    request.itemsPerColumn = itemsPerColumn;
    const std::int32_t current = getCurrentIndex();
    for (std::int32_t i = 0; i < getNbEntries(); ++i)
    {
        const CMenuItem& item = items[static_cast<std::size_t>(i)];
        PopupMenuItem entry;
        entry.title = item.getTitle();
        entry.separator = item.isSeparator();
        entry.enabled = item.isEnabled();
        entry.checked = (style & kMultipleCheckStyle) ? item.isChecked()
                                                      : ((style & kCheckStyle) && i == current);
        request.items.push_back(std::move(entry));
    }
    open = true;
    invalid();
    // The completion keeps the control alive until it has run, or until the frame closes
    // and destroys it uncalled.
    remember();
    const std::shared_ptr<COptionMenu> self(this, [](COptionMenu* menu) { menu->forget(); });
    frame->getPlatformFrame()->popupMenu(request,
                                         [self](int chosen) { self->popupClosed(chosen); });
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void COptionMenu::popupClosed(std::int32_t chosen)
{
    open = false;
    lastResult = chosen;
    // Removed from the frame while its popup was up: the listener may have gone with the
    // frame's other views, so the choice goes nowhere.
    if (!frame)
        return;
    invalid();
    if (chosen >= 0 && chosen < getNbEntries() &&
        !items[static_cast<std::size_t>(chosen)].isSeparator())
    {
        beginEdit();
        setCurrent(chosen);
        valueChanged();
        endEdit();
    }
}

bool COptionMenu::isTypeOf(const char* type) const
{
    return std::strcmp(type, "COptionMenu") == 0 || CParamDisplay::isTypeOf(type);
}
