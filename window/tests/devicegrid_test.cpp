#include <window/devicegrid.h>

#include <gtest/gtest.h>

#include <cmath>

namespace velmora {
namespace {

// A window with the board under a menu bar 20 logical pixels high.
struct Layout {
    double scale;
    int factor;
    int boardTop;    // device pixels
    int windowWidth; // logical pixels
    int windowHeight;
};

TEST(DeviceGrid, LaysTheBoardOnWholeBlocksAndTheWindowOnWholeDevicePixels)
{
    const Layout layouts[] = {
        {1.0, 1, 20, 416, 239},
        {1.25, 1, 25, 336, 196}, // 416 × 219 blocks fill 420 × 245 device pixels
        {1.5, 2, 30, 556, 312},  // the board's corner rounded down would lie under the menu bar
        {1.75, 2, 35, 476, 272},
        {2.0, 2, 40, 416, 239},
        {3.0, 3, 60, 416, 239},
    };
    for (const Layout &l : layouts) {
        SCOPED_TRACE(l.scale);
        const DeviceGrid grid(l.scale, 0, 20);
        EXPECT_EQ(grid.factor(), l.factor);
        EXPECT_EQ(grid.toDevice({1, 2, 30, 50}),
                  (PixelRect{l.factor, l.boardTop + 2 * l.factor, 30 * l.factor, 50 * l.factor}));
        EXPECT_EQ(grid.windowWidth(), l.windowWidth);
        EXPECT_EQ(grid.windowHeight(), l.windowHeight);
        const double deviceWidth = grid.windowWidth() * l.scale;
        const double deviceHeight = grid.windowHeight() * l.scale;
        EXPECT_EQ(deviceWidth, std::round(deviceWidth)) << "the compositor would resample the window";
        EXPECT_EQ(deviceHeight, std::round(deviceHeight));
        EXPECT_GE(deviceWidth, kClientWidth * l.factor);
        EXPECT_GE(deviceHeight, l.boardTop + kClientHeight * l.factor);
    }
    EXPECT_EQ(DeviceGrid(0.75, 0, 0).factor(), 1) << "never less than one device pixel a picture pixel";
    EXPECT_EQ(DeviceGrid(1.5, 0, 19).toDevice({0, 0, 1, 1}).top, 29) << "28.5 is not a device pixel";
}

// Pointer positions in logical pixels of the window, as the compositor gives
// them to the fraction, at the centre of a device pixel.
TEST(DeviceGrid, APointIsInThePicturePixelDrawnUnderItsDevicePixel)
{
    struct Case {
        double scale;
        int deviceX; // device pixel of the window; the board's corner at logical (0, 19)
        int deviceY;
        int pictureX;
        int pictureY;
    };
    const Case cases[] = {
        {1.5, 0, 29, 0, 0},             // the board's first device pixel
        {1.5, 59, 29, 29, 0},           // the Ace of Clubs' last device column
        {1.5, 60, 29, 30, 0},           // the gap beside it
        {1.5, 478, 29 + 211, 239, 105}, // the 8 of Diamonds' last device row
        {1.5, 478, 29 + 212, 239, 106}, // the gap below it
        {1.25, 29, 24, 29, 0},          // k = 1: a device pixel is a picture pixel
        {1.75, 59, 34, 29, 0},
        {2.0, 59, 38 + 211, 29, 105},
        {2.0, 59, 38 + 212, 29, 106},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " at device pixel " << c.deviceX << "," << c.deviceY);
        const DeviceGrid grid(c.scale, 0, 19);
        const PicturePoint p = grid.toPicture((c.deviceX + 0.5) / c.scale, (c.deviceY + 0.5) / c.scale);
        EXPECT_EQ(static_cast<int>(std::floor(p.x)), c.pictureX);
        EXPECT_EQ(static_cast<int>(std::floor(p.y)), c.pictureY);
    }
}

} // namespace
} // namespace velmora
