// Reads the PNG files back with zlib's inflate and CRC, independently of how
// the encoder calls zlib to write them.

#include <pictures/tools/png.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <span>
#include <string>

namespace velmora {
namespace {

std::uint32_t bigEndian32(const std::vector<std::uint8_t> &b, std::size_t at)
{
    return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 | std::uint32_t{b.at(at + 2)} << 8 |
           b.at(at + 3);
}

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

// Splits a PNG file into its chunks, checking the signature and every CRC on the way.
std::vector<Chunk> readChunks(const std::vector<std::uint8_t> &png)
{
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    std::vector<Chunk> chunks;
    for (std::size_t at = signature.size(); at < png.size();) {
        const std::uint32_t length = bigEndian32(png, at);
        const auto typeAndData = std::span(png).subspan(at + 4, 4 + length);
        EXPECT_EQ(crc32(0, typeAndData.data(), static_cast<uInt>(typeAndData.size())), bigEndian32(png, at + 8 + length));
        chunks.push_back({std::string(typeAndData.begin(), typeAndData.begin() + 4),
                          std::vector<std::uint8_t>(typeAndData.begin() + 4, typeAndData.end())});
        at += 12 + length;
    }
    return chunks;
}

std::vector<std::uint8_t> inflate(const std::vector<std::uint8_t> &stream, std::size_t expectedSize)
{
    std::vector<std::uint8_t> out(expectedSize + 1);
    uLongf size = out.size();
    EXPECT_EQ(uncompress(out.data(), &size, stream.data(), stream.size()), Z_OK);
    out.resize(size);
    return out;
}

TEST(Png, HasSignatureHeaderDataAndEndWithValidChecksums)
{
    const std::vector<Rgba> pixels(6, Rgba{10, 20, 30, 255});
    const std::vector<Chunk> chunks = readChunks(encodePng(3, 2, pixels));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    // Width 3, height 2, 8 bits per sample, RGBA, deflate, no filter method, no interlace.
    EXPECT_EQ(chunks[0].data, (std::vector<std::uint8_t>{0, 0, 0, 3, 0, 0, 0, 2, 8, 6, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].data.empty());
}

TEST(Png, PixelDataInflatesToRowsThatEachStartWithAFilterByte)
{
    const std::size_t width = 300;
    const std::size_t height = 40;
    const std::size_t rowBytes = 1 + 4 * width;
    std::vector<Rgba> pixels;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x)
            pixels.push_back({static_cast<std::uint8_t>(x / 7), static_cast<std::uint8_t>(y / 4),
                              static_cast<std::uint8_t>(x * y), 255});
    }
    const std::vector<Chunk> chunks =
        readChunks(encodePng(static_cast<int>(width), static_cast<int>(height), pixels));
    ASSERT_EQ(chunks.size(), 3u);
    const std::vector<std::uint8_t> rows = inflate(chunks[1].data, height * rowBytes);
    ASSERT_EQ(rows.size(), height * rowBytes);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t start = y * rowBytes;
        EXPECT_EQ(rows[start], 0);
        for (std::size_t x = 0; x < width; ++x) {
            const Rgba &p = pixels[y * width + x];
            const std::size_t at = start + 1 + 4 * x;
            ASSERT_EQ((Rgba{rows[at], rows[at + 1], rows[at + 2], rows[at + 3]}), p) << x << "," << y;
        }
    }
}

TEST(Png, RefusesPixelsThatDoNotFitTheSize)
{
    EXPECT_THROW(encodePng(3, 2, std::vector<Rgba>(5)), std::invalid_argument);
    EXPECT_THROW(encodePng(0, 0, {}), std::invalid_argument);
    EXPECT_THROW(encodePng(-1, -1, std::vector<Rgba>(1)), std::invalid_argument);
}

} // namespace
} // namespace velmora
