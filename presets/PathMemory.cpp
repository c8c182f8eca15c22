#include "presets/PathMemory.h"

#include <cstring>

bool assignPath(PathBuffer& buffer, std::string_view text) noexcept
{
    if (text.size() > kMaxPathChars || text.find('\0') != std::string_view::npos)
        return false;
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

std::optional<SplitPath> splitAtLastSeparator(std::string_view path,
                                              std::string_view separators) noexcept
{
    const std::size_t last = path.find_last_of(separators);
    if (last == std::string_view::npos || last + 1 == path.size())
        return std::nullopt;
    return SplitPath{path.substr(0, last + 1), path.substr(last + 1)};
}
