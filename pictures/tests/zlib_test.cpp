// Checks the compressed data against zlib itself, an independent decoder.

#include <deflate.h>
#include <png.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <span>
#include <vector>

namespace velmora {
namespace {

std::vector<std::uint8_t> inflate(const std::vector<std::uint8_t> &stream, std::size_t expectedSize)
{
    std::vector<std::uint8_t> out(expectedSize + 1);
    uLongf size = out.size();
    EXPECT_EQ(uncompress(out.data(), &size, stream.data(), stream.size()), Z_OK);
    out.resize(size);
    return out;
}

// Runs, repeats at many distances, and noise that no back-reference can help.
std::vector<std::uint8_t> mixedData()
{
    std::vector<std::uint8_t> data;
    std::uint32_t seed = 12345;
    for (int block = 0; block < 200; ++block) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t run = seed >> 20 & 0x3FF;
        for (std::size_t i = 0; i < run; ++i)
            data.push_back(block % 3 == 0 ? static_cast<std::uint8_t>(seed >> (i % 24))
                                          : static_cast<std::uint8_t>(block));
        if (block % 7 == 0 && data.size() > 3000) {
            const std::vector<std::uint8_t> earlier(data.end() - 3000, data.end() - 1000);
            data.insert(data.end(), earlier.begin(), earlier.end());
        }
    }
    return data;
}

TEST(ZlibStream, InflatesBackToTheInputAtEveryDistance)
{
    const std::vector<std::uint8_t> data = mixedData();
    for (auto distances : {std::initializer_list<std::size_t>{}, {1}, {1, 4}, {3, 1000, 2000, 3000}, {32768, 7}}) {
        const std::vector<std::uint8_t> stream = zlibCompress(data, distances);
        EXPECT_EQ(inflate(stream, data.size()), data);
    }
    EXPECT_EQ(inflate(zlibCompress({}, {1}), 0), std::vector<std::uint8_t>{});
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
    const std::vector<std::uint8_t> png = encodePng(static_cast<int>(width), static_cast<int>(height), pixels);

    // The one IDAT chunk follows the signature (8 bytes) and IHDR (25 bytes).
    const std::size_t idat = 8 + 25;
    const std::size_t length = std::size_t{png[idat]} << 24 | std::size_t{png[idat + 1]} << 16 |
                               std::size_t{png[idat + 2]} << 8 | png[idat + 3];
    const auto data = std::span(png).subspan(idat + 8, length);
    const std::vector<std::uint8_t> rows = inflate({data.begin(), data.end()}, height * rowBytes);
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

} // namespace
} // namespace velmora
