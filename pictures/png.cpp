#include "png.h"

#include "bytes.h"
#include "deflate.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace velmora {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColorTypeRgba = 6;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::size_t kBytesPerPixel = 4;

void appendChunk(std::vector<std::uint8_t> &out, std::string_view type, std::span<const std::uint8_t> data)
{
    appendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    appendBigEndian32(out, crc32(std::span(out).subspan(typeStart)));
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<Rgba> &pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height)
        throw std::invalid_argument("PNG size does not match its pixels");

    std::vector<std::uint8_t> header;
    appendBigEndian32(header, static_cast<std::uint32_t>(width));
    appendBigEndian32(header, static_cast<std::uint32_t>(height));
    // Then deflate compression, adaptive filtering, no interlace.
    header.insert(header.end(), {kBitDepth, kColorTypeRgba, 0, 0, 0});

    // Every row starts with its filter type.
    const std::size_t rowBytes = 1 + kBytesPerPixel * static_cast<std::size_t>(width);
    std::vector<std::uint8_t> scanlines;
    scanlines.reserve(rowBytes * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % static_cast<std::size_t>(width) == 0)
            scanlines.push_back(kFilterNone);
        scanlines.insert(scanlines.end(), {pixels[i].r, pixels[i].g, pixels[i].b, pixels[i].a});
    }

    std::vector<std::uint8_t> png(kSignature.begin(), kSignature.end());
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibCompress(scanlines, {kBytesPerPixel, rowBytes}));
    appendChunk(png, "IEND", {});
    return png;
}

std::uint32_t crc32(std::span<const std::uint8_t> data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace velmora
