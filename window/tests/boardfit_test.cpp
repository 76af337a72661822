#include <window/boardfit.h>

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

TEST(BoardFit, FillsSmallDevicePixelsKeepsWholeBlocksElseAndShrinksOnlyWhatDoesNotFit)
{
    struct Case {
        const char *screen;
        int width; // free device pixels
        int height;
        double ratio;
        int boardWidth;
        int boardHeight;
    };
    const Case cases[] = {
        {"phone upright", 1080, 2154, 3, 1080, 569},
        {"phone sideways", 2220, 1014, 3, 1927, 1014},
        {"tablet", 2048, 1492, 2, 2048, 1079},
        {"the whole factor at 2", 832, 2000, 2, 832, 438},
        {"laptop at 150 %", 1920, 1100, 1.5, 1664, 876},
        {"desktop", 1280, 778, 1, 1248, 657},
        {"narrow window", 320, 458, 1, 320, 169},
        {"short window", 600, 100, 1, 190, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.screen);
        const BoardFit fit = BoardFit::within(c.width, c.height, c.ratio);
        EXPECT_EQ(fit.width(), c.boardWidth);
        EXPECT_EQ(fit.height(), c.boardHeight);
        // Nearest neighbour: each picture pixel spans ⌊k⌋ or ⌈k⌉ device pixels,
        // and each of them shows that picture pixel.
        const double k = static_cast<double>(c.boardWidth) / kClientWidth;
        for (int i = 0; i < kClientWidth; ++i) {
            const int span = fit.toDevice(i + 1) - fit.toDevice(i);
            ASSERT_TRUE(span == std::floor(k) || span == std::ceil(k)) << "picture pixel " << i << " spans " << span;
            for (int device = fit.toDevice(i); device < fit.toDevice(i + 1); ++device)
                ASSERT_EQ(fit.toPicture(device), i);
        }
    }
}

TEST(BoardFit, APointIsInThePicturePixelDrawnUnderItsDevicePixel)
{
    const BoardFit fit(1080, kClientWidth); // 2.596 device pixels a picture pixel
    const PixelRect aceOfClubs = fit.toDevice(cellRect({Rank::Ace, Suit::Clubs}));
    EXPECT_EQ(aceOfClubs, (PixelRect{0, 0, 78, 130}));
    EXPECT_EQ(fit.toPicture(77.99, 129.99).x, 29) << "the Ace's last device column";
    EXPECT_EQ(fit.toPicture(77.99, 129.99).y, 49) << "and row";
    EXPECT_EQ(fit.toPicture(78.0, 0).x, 30) << "the gap beside it";
    EXPECT_EQ(fit.toPicture(-0.01, 0).x, -1);
    EXPECT_TRUE(std::isnan(fit.toPicture(NAN, 0).x));
    EXPECT_EQ(BoardFit(2, 1), BoardFit(832, kClientWidth));
}

} // namespace
} // namespace velmora
