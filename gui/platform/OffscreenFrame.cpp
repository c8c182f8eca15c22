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

int OffscreenFrame::popupMenu(const PopupMenuRequest& request)
{
    menus.push_back(request);
    if (menuChoices.empty())
        return -1;
    const int choice = menuChoices.front();
    menuChoices.pop_front();
    return choice;
}

std::optional<std::string> OffscreenFrame::chooseFile(const FileSelectorRequest& request)
{
    files.push_back(request);
    if (fileChoices.empty())
        return std::nullopt;
    auto choice = std::move(fileChoices.front());
    fileChoices.pop_front();
    return choice;
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
