#include "icon.h"

#include <algorithm>
#include <stdexcept>

namespace velmora {

IconPicture::IconPicture(const Glyph &art) : size_(art.width())
{
    if (art.height() != size_)
        throw std::invalid_argument("icon artwork must be square");
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            // A hole is stored as black and masked out.
            const auto color = art.color(x, y);
            const auto entry =
                std::find(kStandardPalette.begin(), kStandardPalette.end(), color.value_or(kBlack));
            if (entry == kStandardPalette.end())
                throw std::invalid_argument("icon colour outside the standard palette");
            indices_.push_back(static_cast<std::uint8_t>(entry - kStandardPalette.begin()));
            transparent_.push_back(!color);
        }
    }
}

Rgba IconPicture::rgba(int x, int y) const
{
    if (isTransparent(x, y))
        return {0, 0, 0, 0};
    const Rgb c = kStandardPalette[colorIndex(x, y)];
    return {c.r, c.g, c.b, 255};
}

std::size_t IconPicture::offset(int x, int y) const
{
    if (x < 0 || x >= size_ || y < 0 || y >= size_)
        throw std::out_of_range("pixel outside the icon");
    return static_cast<std::size_t>(y * size_ + x);
}

} // namespace velmora
