#include "gui/FileChooserPanel.h"

#include "gui/CDrawContext.h"
#include "gui/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace gui
{
namespace
{
constexpr int kWheelRows = 3;

std::string lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Without regard to case, so that "bank.qel" and "Bank.qel" sit together; the exact names
// break ties, so the order never depends on the order the folder was read in.
bool inNameOrder(const std::string& a, const std::string& b)
{
    const std::string lowerA = lowered(a);
    const std::string lowerB = lowered(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

// A dot after the first character starts an extension: ".hidden" has none.
bool hasExtension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0;
}

bool isOfType(const std::string& name, const std::vector<FileExtension>& extensions)
{
    if (extensions.empty())
        return true;
    if (!hasExtension(name))
        return false;
    const std::string extension = lowered(name.substr(name.rfind('.') + 1));
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const FileExtension& type)
                       { return lowered(type.extension) == extension; });
}

std::string inQuotes(const std::string& name)
{
    return "'" + name + "'";
}

// Without a trailing separator or "..", so that its name and parent are what they look like.
fs::path tidied(const fs::path& where)
{
    fs::path tidy = where.lexically_normal();
    if (!tidy.has_filename() && tidy.has_relative_path())
        tidy = tidy.parent_path();
    return tidy;
}

// The request's folder, or the nearest of its parents that exists (a preset folder may
// have been removed since), else the home folder.
fs::path startFolder(const std::string& initial)
{
    if (!initial.empty())
    {
        std::error_code error;
        fs::path candidate = tidied(fs::absolute(initial, error));
        while (!error && !candidate.empty())
        {
            std::error_code statusError;
            if (fs::is_directory(candidate, statusError))
                return candidate;
            if (candidate == candidate.parent_path())
                break;
            candidate = candidate.parent_path();
        }
    }
    std::error_code error;
    if (const char* home = std::getenv("HOME"); home && *home && fs::is_directory(home, error))
        return tidied(home);
    return fs::path("/");
}

} // namespace

FileChooserPanel::FileChooserPanel(const FileSelectorRequest& request)
    : request(request), size(kBrowserSize)
{
    layOut();
    if (request.save)
    {
        focus = Focus::name;
        setName(request.defaultName);
    }
    enterFolder(startFolder(request.initialDirectory));
}

FileChooserPanel::FileChooserPanel(const FileSelectorRequest& request, const std::string& path)
    : request(request), size(kQuestionSize), questionOnly(true)
{
    layOut();
    folder = tidied(fs::path(path).parent_path());
    replacing = fs::path(path);
    invalidate(CRect(0, 0, size.x, size.y));
}

void FileChooserPanel::layOut()
{
    const CCoord width = size.x;
    const CCoord height = size.y;
    pathRect = CRect(kMargin, 8, width - kMargin, 26);
    acceptRect = CRect(width - kMargin - kButtonWidth, height - kMargin - kButtonHeight,
                       width - kMargin, height - kMargin);
    cancelRect = acceptRect;
    cancelRect.offset(-(kButtonWidth + kMargin), 0);
    messageRect = CRect(kMargin, acceptRect.top, cancelRect.left - kMargin, acceptRect.bottom);
    CCoord listLimit = acceptRect.top - kMargin;
    if (request.save)
    {
        const CCoord top = acceptRect.top - kMargin - kFieldHeight;
        nameLabelRect = CRect(kMargin, top, kMargin + 46, top + kFieldHeight);
        nameRect = CRect(nameLabelRect.right, top, width - kMargin, top + kFieldHeight);
        listLimit = top - 8;
    }
    const CCoord listTop = 32;
    visibleRows = std::max(1, static_cast<int>((listLimit - listTop - 2) / kRowHeight));
    listRect = CRect(kMargin, listTop, width - kMargin, listTop + 2 + visibleRows * kRowHeight);

    questionRect = questionOnly ? CRect(0, 0, width, height)
                                : CRect(std::round((width - kQuestionWidth) / 2),
                                        std::round((height - kQuestionHeight) / 2),
                                        std::round((width + kQuestionWidth) / 2),
                                        std::round((height + kQuestionHeight) / 2));
    replaceRect = CRect(questionRect.right - kMargin - kButtonWidth,
                        questionRect.bottom - kMargin - kButtonHeight, questionRect.right - kMargin,
                        questionRect.bottom - kMargin);
    keepRect = replaceRect;
    keepRect.offset(-(kButtonWidth + kMargin), 0);
}

std::vector<std::string> FileChooserPanel::getEntryNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry.name);
    return names;
}

std::string FileChooserPanel::getQuestion() const
{
    return replacing ? "Replace " + inQuotes(replacing->filename().string()) + "?" : std::string();
}

void FileChooserPanel::enterFolder(const fs::path& where, const std::string& selectName)
{
    folder = tidied(where);
    entries.clear();
    if (folder.has_relative_path())
        entries.push_back({"..", Kind::parent});
    std::vector<Entry> folders;
    std::vector<Entry> files;
    std::error_code error;
    fs::directory_iterator listing(folder, error);
    message = error ? "This folder cannot be read." : "";
    for (const fs::directory_iterator end; !error && listing != end; listing.increment(error))
    {
        std::string entryName = listing->path().filename().string();
        if (entryName.empty() || entryName.front() == '.')
            continue;
        std::error_code typeError; // a link to nowhere is neither, and left out
        if (listing->is_directory(typeError))
            folders.push_back({std::move(entryName), Kind::folder});
        else if (listing->is_regular_file(typeError) && isOfType(entryName, request.extensions))
            files.push_back({std::move(entryName), Kind::file});
    }
    const auto byName = [](const Entry& a, const Entry& b) { return inNameOrder(a.name, b.name); };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());

    // Back from a folder, that folder is selected; opening, the first file is, so that
    // Return opens it at once.
    selected = -1;
    const auto count = static_cast<int>(entries.size());
    for (int i = 0; i < count && selected < 0; ++i)
        if (!selectName.empty() && entries[static_cast<std::size_t>(i)].name == selectName)
            selected = i;
    if (selected < 0 && !request.save && count > 0)
    {
        const auto firstFile = std::find_if(entries.begin(), entries.end(),
                                            [](const Entry& e) { return e.kind == Kind::file; });
        selected = firstFile != entries.end() ? static_cast<int>(firstFile - entries.begin()) : 0;
    }
    firstVisible = 0;
    if (selected >= 0)
        scrollTo(selected);
    invalidate(CRect(0, 0, size.x, size.y));
}

void FileChooserPanel::select(int index)
{
    const auto count = static_cast<int>(entries.size());
    if (count == 0)
        return;
    selected = std::clamp(index, 0, count - 1);
    scrollTo(selected);
    invalidate(listRect);
    const Entry& entry = entries[static_cast<std::size_t>(selected)];
    if (request.save && entry.kind == Kind::file)
        setName(entry.name);
}

void FileChooserPanel::scrollTo(int index)
{
    if (index < firstVisible)
        firstVisible = index;
    else if (index >= firstVisible + visibleRows)
        firstVisible = index - visibleRows + 1;
    scrollBy(0);
}

void FileChooserPanel::scrollBy(int rows)
{
    const int last = std::max(0, static_cast<int>(entries.size()) - visibleRows);
    const int first = std::clamp(firstVisible + rows, 0, last);
    if (first != firstVisible)
        invalidate(listRect);
    firstVisible = first;
}

CRect FileChooserPanel::getEntryRect(int index) const
{
    if (index < firstVisible || index >= firstVisible + visibleRows ||
        index >= static_cast<int>(entries.size()))
        return CRect();
    const bool scrolls = static_cast<int>(entries.size()) > visibleRows;
    const CCoord top = listRect.top + 1 + (index - firstVisible) * kRowHeight;
    return CRect(listRect.left + 1, top, listRect.right - 1 - (scrolls ? kScrollBarWidth : 0),
                 top + kRowHeight);
}

int FileChooserPanel::entryAt(const CPoint& where) const
{
    if (!listRect.pointInside(where))
        return -1;
    const int index = firstVisible + static_cast<int>((where.y - listRect.top - 1) / kRowHeight);
    return getEntryRect(index).pointInside(where) ? index : -1;
}

void FileChooserPanel::activate(int index)
{
    const Entry& entry = entries[static_cast<std::size_t>(index)];
    switch (entry.kind)
    {
    case Kind::parent: enterFolder(folder.parent_path(), folder.filename().string()); break;
    case Kind::folder: enterFolder(folder / entry.name); break;
    case Kind::file:
        if (request.save)
            saveAs(entry.name);
        else
            chooseExisting(folder / entry.name);
        break;
    }
}

// The Open or Save button: a save takes the typed name, whatever the list shows.
void FileChooserPanel::accept()
{
    if (request.save)
        saveAs(name);
    else if (selected >= 0)
        activate(selected);
    else
        showMessage("Choose a file to open.");
}

void FileChooserPanel::saveAs(const std::string& typed)
{
    if (typed.empty())
        return;
    if (typed.find_first_of("/\r\n") != std::string::npos)
    {
        showMessage("A name cannot contain '/' or a line break.");
        return;
    }
    std::error_code error;
    if (const fs::path named = folder / typed; fs::is_directory(named, error))
    {
        enterFolder(named); // typing a folder's name goes there
        setName({});        // typed may be the name itself
        return;
    }
    // The extension first: the file that would be replaced is the one with it.
    std::string full = typed;
    if (!request.extensions.empty() && !hasExtension(full))
        full += "." + request.extensions.front().extension;
    const fs::path path = folder / full;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status))
        showMessage(inQuotes(full) + " is a folder.");
    else if (fs::exists(status))
        ask(path);
    else
        finish(path.string());
}

void FileChooserPanel::chooseExisting(const fs::path& path)
{
    std::error_code error;
    if (fs::is_regular_file(path, error))
        finish(path.string());
    else
        showMessage(inQuotes(path.filename().string()) + " is not there any more.");
}

void FileChooserPanel::finish(std::optional<std::string> path)
{
    if (done)
        return;
    done = true;
    answer = std::move(path);
    invalidate(CRect(0, 0, size.x, size.y));
}

void FileChooserPanel::cancel()
{
    finish(std::nullopt);
}

void FileChooserPanel::showMessage(std::string text)
{
    message = std::move(text);
    invalidate(messageRect);
}

void FileChooserPanel::ask(const fs::path& path)
{
    replacing = path;
    pressed = Button::none;
    invalidate(CRect(0, 0, size.x, size.y));
}

void FileChooserPanel::answerQuestion(bool replace)
{
    if (replace)
        finish(replacing->string());
    else if (questionOnly)
        finish(std::nullopt);
    replacing.reset();
    invalidate(CRect(0, 0, size.x, size.y));
}

FileChooserPanel::Button FileChooserPanel::buttonAt(const CPoint& where) const
{
    if (replacing)
        return replaceRect.pointInside(where) ? Button::replace
               : keepRect.pointInside(where)  ? Button::keep
                                              : Button::none;
    return acceptRect.pointInside(where)   ? Button::accept
           : cancelRect.pointInside(where) ? Button::cancel
                                           : Button::none;
}

void FileChooserPanel::press(Button button)
{
    pressed = button;
    invalidate(replacing
                   ? questionRect
                   : CRect(cancelRect.left, acceptRect.top, acceptRect.right, acceptRect.bottom));
}

bool FileChooserPanel::onMouseDown(const CPoint& where, const CButtonState& buttons)
{
    if (done || !buttons.isLeftButton())
        return false;
    if (const Button button = buttonAt(where); button != Button::none)
    {
        press(button);
        return true;
    }
    if (replacing)
        return true; // nothing else while the question is asked
    if (request.save && nameRect.pointInside(where))
    {
        setFocus(Focus::name);
        caret = caretAt(where.x);
        return true;
    }
    if (!listRect.pointInside(where))
        return false;
    setFocus(Focus::list);
    const int index = entryAt(where);
    if (index >= 0 && buttons.isDoubleClick() && index == selected)
        activate(index);
    else if (index >= 0)
        select(index);
    return true;
}

bool FileChooserPanel::onMouseUp(const CPoint& where, const CButtonState&)
{
    if (pressed == Button::none)
        return false;
    const Button released = buttonAt(where) == pressed ? pressed : Button::none;
    press(Button::none);
    switch (released)
    {
    case Button::accept: accept(); break;
    case Button::cancel: cancel(); break;
    case Button::replace: answerQuestion(true); break;
    case Button::keep: answerQuestion(false); break;
    case Button::none: break;
    }
    return true;
}

bool FileChooserPanel::onWheel(const CPoint&, float distance)
{
    if (done || replacing)
        return false;
    scrollBy(-static_cast<int>(std::lround(distance * kWheelRows)));
    return true;
}

bool FileChooserPanel::onKeyDown(const CKeyCode& key)
{
    if (done)
        return false;
    const bool enter = key.virt == VKEY_RETURN || key.virt == VKEY_ENTER;
    if (replacing)
    {
        if (enter || key.virt == VKEY_ESCAPE)
            answerQuestion(enter);
        return enter || key.virt == VKEY_ESCAPE;
    }
    const bool inList = focus == Focus::list || !request.save;
    switch (key.virt)
    {
    case VKEY_ESCAPE: cancel(); return true;
    case VKEY_RETURN:
    case VKEY_ENTER:
        if (inList && selected >= 0)
            activate(selected);
        else
            accept();
        return true;
    case VKEY_UP:
        setFocus(Focus::list);
        select(std::max(selected - 1, 0));
        return true;
    case VKEY_DOWN:
        setFocus(Focus::list);
        select(selected + 1);
        return true;
    case VKEY_PAGEUP:
        setFocus(Focus::list);
        select(std::max(selected - visibleRows, 0));
        return true;
    case VKEY_PAGEDOWN:
        setFocus(Focus::list);
        select(selected + visibleRows);
        return true;
    case VKEY_TAB:
        if (!request.save)
            return false;
        setFocus(focus == Focus::list ? Focus::name : Focus::list);
        return true;
    case VKEY_HOME:
    case VKEY_END:
        if (!inList)
            break;
        select(key.virt == VKEY_HOME ? 0 : static_cast<int>(entries.size()) - 1);
        return true;
    default: break;
    }
    return request.save && editName(key);
}

bool FileChooserPanel::editName(const CKeyCode& key)
{
    switch (key.virt)
    {
    case VKEY_BACK:
    {
        const std::size_t from = previousCharacterStart(name, caret);
        name.erase(from, caret - from);
        caret = from;
        break;
    }
    case VKEY_DELETE: name.erase(caret, nextCharacterStart(name, caret) - caret); break;
    case VKEY_LEFT: caret = previousCharacterStart(name, caret); break;
    case VKEY_RIGHT: caret = nextCharacterStart(name, caret); break;
    case VKEY_HOME: caret = 0; break;
    case VKEY_END: caret = name.size(); break;
    case VKEY_SPACE:
        name.insert(caret, 1, ' ');
        ++caret;
        break;
    case 0:
    {
        if (key.character < 0x20 || key.character == 0x7f ||
            (key.modifier & (kKeyCommand | kKeyControl)))
            return false;
        std::string typed;
        appendUtf8(typed, static_cast<char32_t>(key.character));
        name.insert(caret, typed);
        caret += typed.size();
        break;
    }
    default: return false;
    }
    setFocus(Focus::name);
    if (!message.empty())
        showMessage({}); // it was about the name before this change
    invalidate(nameRect);
    return true;
}

void FileChooserPanel::setName(std::string text)
{
    name = std::move(text);
    caret = name.size();
    invalidate(nameRect);
}

void FileChooserPanel::setFocus(Focus to)
{
    if (to == focus)
        return;
    focus = to;
    invalidate(listRect); // the selection's colour
    invalidate(nameRect); // the caret
}

// The character boundary nearest to x.
std::size_t FileChooserPanel::caretAt(CCoord x) const
{
    PixelBuffer scratch(1, 1);
    CDrawContext measure(scratch);
    measure.setFont(kNormalFont);
    const CCoord start = nameRect.left + kFieldPadding - nameScroll;
    std::size_t best = 0;
    for (std::size_t at = 0;;)
    {
        const CCoord atX = start + measure.getStringWidth(name.substr(0, at).c_str());
        const CCoord bestX = start + measure.getStringWidth(name.substr(0, best).c_str());
        if (std::abs(x - atX) < std::abs(x - bestX))
            best = at;
        if (at == name.size())
            return best;
        at = nextCharacterStart(name, at);
    }
}

void FileChooserPanel::invalidate(const CRect& rect)
{
    dirty.unite(rect);
}

void FileChooserPanel::invalidRect(const CRect& rect)
{
    CRect lost = rect;
    lost.bound(CRect(0, 0, size.x, size.y));
    invalidate(lost);
}

} // namespace gui
