#include <deflate.h>
#include <png.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace velmora {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()};
}

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
        EXPECT_EQ(crc32(typeAndData), bigEndian32(png, at + 8 + length));
        chunks.push_back({std::string(typeAndData.begin(), typeAndData.begin() + 4),
                          std::vector<std::uint8_t>(typeAndData.begin() + 4, typeAndData.end())});
        at += 12 + length;
    }
    return chunks;
}

TEST(Checksums, MatchTheirPublishedCheckValues)
{
    EXPECT_EQ(crc32(bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytes("IEND")), 0xAE426082u);
    EXPECT_EQ(adler32(bytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(adler32({}), 1u);
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

TEST(Png, RefusesPixelsThatDoNotFitTheSize)
{
    EXPECT_THROW(encodePng(3, 2, std::vector<Rgba>(5)), std::invalid_argument);
    EXPECT_THROW(encodePng(0, 0, {}), std::invalid_argument);
    EXPECT_THROW(encodePng(-1, -1, std::vector<Rgba>(1)), std::invalid_argument);
}

} // namespace
} // namespace velmora
