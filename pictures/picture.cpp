#include "picture.h"

#include <stdexcept>

namespace velmora {

Picture::Picture(const Pixels &pixels)
{
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const Rgb p = pixels[y * kPictureWidth + x];
            const std::size_t at = offset(x, y);
            dib_[at] = p.b;
            dib_[at + 1] = p.g;
            dib_[at + 2] = p.r;
        }
    }
}

Rgb Picture::pixel(int x, int y) const
{
    const std::size_t at = offset(x, y);
    return {dib_[at + 2], dib_[at + 1], dib_[at]};
}

std::size_t Picture::offset(int x, int y)
{
    if (x < 0 || x >= kPictureWidth || y < 0 || y >= kPictureHeight)
        throw std::out_of_range("pixel outside the picture");
    return static_cast<std::size_t>((kPictureHeight - 1 - y) * kDibRowBytes + x * 3);
}

} // namespace velmora
