#pragma once

#include "color.h"
#include "glyph.h"

#include <cstdint>
#include <vector>

namespace velmora {

// A square 4-bit icon: each pixel is an index into the standard 16-colour
// palette or transparent.
class IconPicture {
public:
    // Holes in the artwork become transparent; every other colour must be in
    // the palette (std::invalid_argument otherwise, as for artwork that is not square).
    explicit IconPicture(const Glyph &art);

    int size() const { return size_; }
    // 0 (black) where transparent, which is what the icon's colour bitmap stores there.
    int colorIndex(int x, int y) const { return indices_[offset(x, y)]; }
    bool isTransparent(int x, int y) const { return transparent_[offset(x, y)]; }
    // Alpha 0 where transparent, 255 elsewhere.
    Rgba rgba(int x, int y) const;

private:
    // Throws std::out_of_range outside the icon.
    std::size_t offset(int x, int y) const;

    int size_;
    std::vector<std::uint8_t> indices_;
    std::vector<bool> transparent_;
};

} // namespace velmora
