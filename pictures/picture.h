#pragma once

#include "color.h"

#include <array>
#include <cstdint>

namespace velmora {

inline constexpr int kPictureWidth = 30;
inline constexpr int kPictureHeight = 50;
inline constexpr int kPicturePixels = kPictureWidth * kPictureHeight;
// The stored form is a 24-bit device-independent bitmap: rows bottom-up,
// blue-green-red, each row padded to a multiple of four bytes.
inline constexpr int kDibRowBytes = (kPictureWidth * 3 + 3) / 4 * 4;
inline constexpr int kDibSize = kDibRowBytes * kPictureHeight;
static_assert(kDibRowBytes == 92 && kDibSize == 4600);

// An immutable 30 × 50 picture of a card or of the marker, kept in its stored form.
class Picture {
public:
    // Row by row from the top-left pixel.
    using Pixels = std::array<Rgb, kPicturePixels>;

    explicit Picture(const Pixels &pixels);

    int width() const { return kPictureWidth; }
    int height() const { return kPictureHeight; }
    // x from the left, y from the top; throws std::out_of_range outside the picture.
    Rgb pixel(int x, int y) const;
    const std::array<std::uint8_t, kDibSize> &dib() const { return dib_; }

    friend bool operator==(const Picture &, const Picture &) = default;

private:
    static std::size_t offset(int x, int y);

    std::array<std::uint8_t, kDibSize> dib_{};
};

using CardPicture = Picture;
using MarkerPicture = Picture;

} // namespace velmora
