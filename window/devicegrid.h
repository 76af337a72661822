#pragma once

#include <window/boardfit.h>
#include <window/form1.h>

#include <board/geometry.h>

namespace velmora {

// The nearest whole number of device pixels per picture pixel at a screen scale,
// at least 1: 1.25 draws at 1, 1.5 and 1.75 at 2. Every picture pixel stays a
// sharp square block.
int wholeFactor(double scale);

// The deck on the device pixels of a window that the window system scales by a
// fraction: each picture pixel a factor() × factor() block, the board's top-left
// corner on a device pixel, and a window size that spans whole device pixels, so
// that the compositor never resamples it. At whole scales it is the plain
// enlargement.
class DeviceGrid
{
public:
    // `scale` device pixels per logical pixel; the board's top-left corner at
    // (boardLeft, boardTop) logical pixels of the window.
    DeviceGrid(double scale, double boardLeft, double boardTop);

    int factor() const { return factor_; }
    // A rectangle of the board in picture pixels, in device pixels of the window.
    PixelRect toDevice(const PixelRect &picture) const;
    // The picture pixel drawn on the device pixel under a point of the window,
    // given in logical pixels to the fraction: device pixel (x, y) covers
    // [x, x + 1) by [y, y + 1).
    PicturePoint toPicture(double windowX, double windowY) const;
    // The window's logical size: the fewest logical pixels that reach past the
    // client area (416 × 219 blocks from the board's corner) and span whole
    // device pixels.
    int windowWidth() const;
    int windowHeight() const;

private:
    double scale_;
    int factor_;
    BoardFit blocks_; // factor_ device pixels a picture pixel
    int left_;        // the board's corner, in device pixels of the window
    int top_;
};

} // namespace velmora
