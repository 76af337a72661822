#pragma once

#include "color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace velmora {

inline constexpr int kPictureWidth = 30;
inline constexpr int kPictureHeight = 50;
// The stored form is a 24-bit device-independent bitmap: rows bottom-up,
// blue-green-red, each row padded to a multiple of four bytes.
inline constexpr int kDibRowBytes = (kPictureWidth * 3 + 3) / 4 * 4;
inline constexpr int kDibSize = kDibRowBytes * kPictureHeight;
static_assert(kDibRowBytes == 92 && kDibSize == 4600);

using Dib = std::array<std::uint8_t, kDibSize>;

// Where the blue byte of pixel (x, y), counted from the top-left, lies in the
// stored form; green and red follow it. Throws std::out_of_range outside the picture.
constexpr std::size_t dibOffset(int x, int y)
{
    if (x < 0 || x >= kPictureWidth || y < 0 || y >= kPictureHeight)
        throw std::out_of_range("pixel outside the picture");
    return static_cast<std::size_t>(kPictureHeight - 1 - y) * kDibRowBytes + static_cast<std::size_t>(x) * 3;
}

// An immutable 30 × 50 picture of a card or of the marker, kept in its stored form.
class Picture {
public:
    // The padding at the end of each row is cleared whatever dib holds there.
    explicit constexpr Picture(const Dib &dib) : dib_(dib)
    {
        for (int row = 0; row < kPictureHeight; ++row) {
            for (int pad = kPictureWidth * 3; pad < kDibRowBytes; ++pad)
                dib_[row * kDibRowBytes + pad] = 0;
        }
    }

    constexpr int width() const { return kPictureWidth; }
    constexpr int height() const { return kPictureHeight; }
    // x from the left, y from the top; throws std::out_of_range outside the picture.
    constexpr Rgb pixel(int x, int y) const
    {
        const std::size_t at = dibOffset(x, y);
        return {dib_[at + 2], dib_[at + 1], dib_[at]};
    }
    constexpr const Dib &dib() const { return dib_; }

    friend constexpr bool operator==(const Picture &, const Picture &) = default;

private:
    Dib dib_;
};

using CardPicture = Picture;
using MarkerPicture = Picture;

} // namespace velmora
