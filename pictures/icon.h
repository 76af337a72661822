#pragma once

#include "color.h"
#include "glyph.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace velmora {

inline constexpr int kMaxIconSize = 32;
inline constexpr std::size_t kMaxIconPixels = std::size_t{kMaxIconSize} * kMaxIconSize;

// A square 4-bit icon of up to 32 pixels: each pixel is an index into the
// standard 16-colour palette or transparent.
class IconPicture {
public:
    // Holes in the artwork become transparent; every other colour must be in the
    // palette. Throws std::invalid_argument otherwise, or for artwork that is not
    // square or too large.
    explicit constexpr IconPicture(const Glyph &art) : size_(art.width())
    {
        if (art.height() != size_ || size_ > kMaxIconSize)
            throw std::invalid_argument("icon artwork must be square and at most 32 pixels");
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                // A hole is stored as black and masked out.
                const auto color = art.color(x, y);
                const auto entry =
                    std::find(kStandardPalette.begin(), kStandardPalette.end(), color.value_or(kBlack));
                if (entry == kStandardPalette.end())
                    throw std::invalid_argument("icon colour outside the standard palette");
                indices_[offset(x, y)] = static_cast<std::uint8_t>(entry - kStandardPalette.begin());
                transparent_[offset(x, y)] = !color;
            }
        }
    }

    constexpr int size() const { return size_; }
    // 0 (black) where transparent, which is what the icon's colour bitmap stores there.
    constexpr int colorIndex(int x, int y) const { return indices_[offset(x, y)]; }
    constexpr bool isTransparent(int x, int y) const { return transparent_[offset(x, y)]; }
    // Alpha 0 where transparent, 255 elsewhere.
    constexpr Rgba rgba(int x, int y) const
    {
        if (isTransparent(x, y))
            return {0, 0, 0, 0};
        const Rgb c = kStandardPalette[colorIndex(x, y)];
        return {c.r, c.g, c.b, 255};
    }

private:
    // Throws std::out_of_range outside the icon.
    constexpr std::size_t offset(int x, int y) const
    {
        if (x < 0 || x >= size_ || y < 0 || y >= size_)
            throw std::out_of_range("pixel outside the icon");
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(size_) + static_cast<std::size_t>(x);
    }

    int size_;
    std::array<std::uint8_t, kMaxIconPixels> indices_{};
    std::array<bool, kMaxIconPixels> transparent_{};
};

} // namespace velmora
