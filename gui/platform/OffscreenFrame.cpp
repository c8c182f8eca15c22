#include "gui/platform/OffscreenFrame.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

void OffscreenFrame::present(const PixelBuffer&, std::span<const CRect> rects)
{
    presented.insert(presented.end(), rects.begin(), rects.end());
}

bool OffscreenFrame::getCurrentMousePosition(CPoint& where) const
{
    if (!mouse)
        return false;
    where = *mouse;
    return true;
}

void OffscreenFrame::popupMenu(const PopupMenuRequest& request, PopupMenuCompletion completion)
{
    menus.push_back(request);
    int choice = -1;
    if (!menuChoices.empty())
    {
        choice = menuChoices.front();
        menuChoices.pop_front();
    }
    completion(choice);
}

void OffscreenFrame::chooseFile(const FileSelectorRequest& request,
                                FileSelectorCompletion completion)
{
    files.push_back(request);
    std::optional<std::string> choice;
    if (!fileChoices.empty())
    {
        choice = std::move(fileChoices.front());
        fileChoices.pop_front();
    }
    completion(std::move(choice));
}

namespace gui
{
bool writePng(const PixelBuffer& buffer, const char* path)
{
    if (buffer.width <= 0 || buffer.height <= 0)
        return false;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(buffer.width) * buffer.height * 3);
    std::size_t i = 0;
    for (const auto pixel : buffer.pixels)
    {
        rgb[i++] = static_cast<unsigned char>(pixel >> 16);
        rgb[i++] = static_cast<unsigned char>(pixel >> 8);
        rgb[i++] = static_cast<unsigned char>(pixel);
    }
    return stbi_write_png(path, buffer.width, buffer.height, 3, rgb.data(), buffer.width * 3) != 0;
}
} // namespace gui
