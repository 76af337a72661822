#include "ico.h"

#include "bytes.h"

#include <stdexcept>

namespace velmora {

namespace {

constexpr std::uint16_t kTypeIcon = 1;
constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 4;

// Bitmap rows are padded to whole 32-bit words.
std::size_t rowBytes(int size, int bitsPerPixel)
{
    return (static_cast<std::size_t>(size) * bitsPerPixel + 31) / 32 * 4;
}

// The image as stored: header, palette, colour bitmap, then mask, both bitmaps
// bottom-up.
std::vector<std::uint8_t> encodeImage(const IconPicture &icon)
{
    const int size = icon.size();
    const std::size_t colorRow = rowBytes(size, kBitsPerPixel);
    const std::size_t maskRow = rowBytes(size, 1);

    std::vector<std::uint8_t> out;
    appendLittleEndian32(out, kInfoHeaderSize);
    appendLittleEndian32(out, static_cast<std::uint32_t>(size));
    appendLittleEndian32(out, static_cast<std::uint32_t>(2 * size)); // colour bitmap and mask stacked
    appendLittleEndian16(out, 1);                                   // planes
    appendLittleEndian16(out, kBitsPerPixel);
    appendLittleEndian32(out, 0); // uncompressed
    appendLittleEndian32(out, static_cast<std::uint32_t>((colorRow + maskRow) * size));
    for (int unused = 0; unused < 4; ++unused) // resolution and palette counts: defaults
        appendLittleEndian32(out, 0);

    for (const Rgb &c : kStandardPalette)
        out.insert(out.end(), {c.b, c.g, c.r, 0});

    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colorRow, 0);
        for (int x = 0; x < size; ++x)
            row[x / 2] |= static_cast<std::uint8_t>(icon.colorIndex(x, y) << (x % 2 == 0 ? 4 : 0));
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < size; ++x) {
            if (icon.isTransparent(x, y))
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<IconPicture> &images)
{
    if (images.empty())
        throw std::invalid_argument("an icon file needs at least one image");

    std::vector<std::uint8_t> out;
    appendLittleEndian16(out, 0);
    appendLittleEndian16(out, kTypeIcon);
    appendLittleEndian16(out, static_cast<std::uint16_t>(images.size()));

    std::vector<std::uint8_t> bodies;
    std::size_t offset = kDirectorySize + kEntrySize * images.size();
    for (const IconPicture &icon : images) {
        const std::vector<std::uint8_t> body = encodeImage(icon);
        const auto side = static_cast<std::uint8_t>(icon.size());
        out.insert(out.end(), {side, side, 16, 0}); // 16 palette entries
        appendLittleEndian16(out, 1);               // planes
        appendLittleEndian16(out, kBitsPerPixel);
        appendLittleEndian32(out, static_cast<std::uint32_t>(body.size()));
        appendLittleEndian32(out, static_cast<std::uint32_t>(offset));
        offset += body.size();
        bodies.insert(bodies.end(), body.begin(), body.end());
    }
    out.insert(out.end(), bodies.begin(), bodies.end());
    return out;
}

} // namespace velmora
