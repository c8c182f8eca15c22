// The text font, Liberation Sans Regular (metric-compatible with Arial), from the build
// machine's fonts-liberation.
#include "gui/Incbin.h"
#include "gui/Resources.h"

TARVA_INCBIN(tarva_embedded_font, TARVA_FONT_FILE)

namespace gui
{
std::span<const unsigned char> embeddedFont() noexcept
{
    return {tarva_embedded_font,
            static_cast<std::size_t>(tarva_embedded_font_end - tarva_embedded_font)};
}
} // namespace gui
