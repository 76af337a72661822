#include <pictures/tools/ico.h>
#include <pictures/pictures.h>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Reads the file the way an icon loader does, from the format's definition.
struct IcoReader {
    const std::vector<std::uint8_t> &bytes;

    unsigned u8(std::size_t at) const { return bytes.at(at); }
    unsigned u16(std::size_t at) const { return u8(at) | u8(at + 1) << 8; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | std::uint32_t{u16(at + 2)} << 16; }
};

const std::vector<std::uint8_t> &appIconFile()
{
    static const std::vector<std::uint8_t> file = encodeIco({appIcon(32), appIcon(16)});
    return file;
}

TEST(Ico, DirectoryListsBothSizesAt4BitsWithTheirPlaces)
{
    const IcoReader ico{appIconFile()};
    EXPECT_EQ(ico.u16(0), 0u); // reserved
    EXPECT_EQ(ico.u16(2), 1u); // an icon, not a cursor
    ASSERT_EQ(ico.u16(4), 2u);
    // Each image: a 40-byte header, 16 palette entries of 4 bytes, then the 4-bit
    // colour rows and the 1-bit mask rows, each row padded to 4 bytes.
    const std::uint32_t size32 = 40 + 64 + 32 * 16 + 32 * 4;
    const std::uint32_t size16 = 40 + 64 + 16 * 8 + 16 * 4;
    const std::uint32_t expected[2][3] = {{32, size32, 6 + 2 * 16}, {16, size16, 6 + 2 * 16 + size32}};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico.u8(entry), expected[i][0]);
        EXPECT_EQ(ico.u8(entry + 1), expected[i][0]);
        EXPECT_EQ(ico.u8(entry + 2), 16u); // palette entries
        EXPECT_EQ(ico.u16(entry + 4), 1u); // planes
        EXPECT_EQ(ico.u16(entry + 6), 4u); // bits per pixel
        EXPECT_EQ(ico.u32(entry + 8), expected[i][1]);
        EXPECT_EQ(ico.u32(entry + 12), expected[i][2]);
    }
    EXPECT_EQ(appIconFile().size(), 6 + 2 * 16 + size32 + size16);
}

TEST(Ico, BitmapsAndMasksDecodeBackToTheIcon)
{
    const IcoReader ico{appIconFile()};
    for (std::size_t i = 0; i < 2; ++i) {
        const IconPicture &icon = appIcon(i == 0 ? 32 : 16);
        const int size = icon.size();
        const auto rows = static_cast<std::size_t>(size);
        SCOPED_TRACE(size);
        const std::size_t image = ico.u32(6 + 16 * i + 12);
        EXPECT_EQ(ico.u32(image), 40u);
        EXPECT_EQ(ico.u32(image + 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(ico.u32(image + 8), static_cast<std::uint32_t>(2 * size)); // colours and mask
        EXPECT_EQ(ico.u16(image + 14), 4u);
        const std::size_t palette = image + 40;
        const std::size_t paletteEntry = 4;
        EXPECT_EQ(ico.u32(palette + 9 * paletteEntry), 0x00FF0000u); // red, stored blue-green-red
        EXPECT_EQ(ico.u32(palette + 15 * paletteEntry), 0x00FFFFFFu);

        const std::size_t colors = palette + 16 * paletteEntry;
        const std::size_t colorRow = (rows / 2 + 3) / 4 * 4;
        const std::size_t mask = colors + colorRow * rows;
        const std::size_t maskRow = 4; // 32 or 16 bits, padded to a 32-bit word
        for (int y = 0; y < size; ++y) {
            const std::size_t stored = static_cast<std::size_t>(size - 1 - y); // bottom-up
            for (int x = 0; x < size; ++x) {
                const unsigned pair = ico.u8(colors + stored * colorRow + x / 2);
                EXPECT_EQ(static_cast<int>(x % 2 == 0 ? pair >> 4 : pair & 0xF), icon.colorIndex(x, y));
                const unsigned bits = ico.u8(mask + stored * maskRow + x / 8);
                EXPECT_EQ((bits >> (7 - x % 8) & 1) == 1, icon.isTransparent(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(Ico, RefusesAFileWithoutImages)
{
    EXPECT_THROW(encodeIco({}), std::invalid_argument);
}

constexpr std::string_view kOblong[] = {"#.#", ".#."};
TEST(IconPicture, RefusesArtworkThatIsNotSquare)
{
    EXPECT_THROW(IconPicture{Glyph{kOblong}}, std::invalid_argument);
}

} // namespace
} // namespace velmora
