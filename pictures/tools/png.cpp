#include "png.h"

#include "bytes.h"

#include <zlib.h>

#include <array>
#include <span>
#include <stdexcept>
#include <string_view>

namespace velmora {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColorTypeRgba = 6;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::size_t kBytesPerPixel = 4;
// A fixed level keeps the files byte for byte the same from one build to the next.
constexpr int kCompressionLevel = Z_BEST_COMPRESSION;

std::vector<std::uint8_t> compress(const std::vector<std::uint8_t> &data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), kCompressionLevel) != Z_OK)
        throw std::runtime_error("zlib could not compress the PNG data");
    out.resize(size);
    return out;
}

void appendChunk(std::vector<std::uint8_t> &out, std::string_view type, std::span<const std::uint8_t> data)
{
    appendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    const auto covered = std::span(out).subspan(typeStart);
    appendBigEndian32(out, static_cast<std::uint32_t>(crc32(0, covered.data(), static_cast<uInt>(covered.size()))));
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
    appendChunk(png, "IDAT", compress(scanlines));
    appendChunk(png, "IEND", {});
    return png;
}

std::vector<std::uint8_t> encodeIconPng(const IconPicture &icon, int factor)
{
    const int size = icon.size() * factor;
    std::vector<Rgba> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            pixels.push_back(icon.rgba(x / factor, y / factor));
    }
    return encodePng(size, size, pixels);
}

} // namespace velmora
