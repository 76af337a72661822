#include "devicegrid.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Scales and positions come from the window system as binary fractions of
// decimal scales (1.25, 1.75 and the like): within this of a whole number is one.
constexpr double kTolerance = 1e-6;

bool isWhole(double value)
{
    return std::abs(value - std::round(value)) < kTolerance;
}

// The first device pixel at or after a position.
int deviceCeil(double device)
{
    return static_cast<int>(std::ceil(device - kTolerance));
}

// The fewest logical pixels whose device size is whole: compositors state scales
// in 120ths, so one of the first 120 counts will do.
int logicalStep(double scale)
{
    for (int n = 1; n <= 120; ++n)
        if (isWhole(n * scale))
            return n;
    return 1;
}

// The fewest logical pixels, a whole number of steps, that span `device` device pixels.
int logicalSpan(int device, double scale)
{
    const int step = logicalStep(scale);
    const int logical = deviceCeil(device / scale);
    return (logical + step - 1) / step * step;
}

} // namespace

int wholeFactor(double scale)
{
    return std::max(1, static_cast<int>(std::lround(scale)));
}

DeviceGrid::DeviceGrid(double scale, double boardLeft, double boardTop)
    : scale_(scale), factor_(wholeFactor(scale)), blocks_(factor_, 1), left_(deviceCeil(boardLeft * scale)),
      top_(deviceCeil(boardTop * scale))
{
}

PixelRect DeviceGrid::toDevice(const PixelRect &picture) const
{
    const PixelRect device = blocks_.toDevice(picture);
    return {left_ + device.left, top_ + device.top, device.width, device.height};
}

PicturePoint DeviceGrid::toPicture(double windowX, double windowY) const
{
    return blocks_.toPicture(windowX * scale_ - left_, windowY * scale_ - top_);
}

int DeviceGrid::windowWidth() const
{
    return logicalSpan(left_ + kClientWidth * factor_, scale_);
}

int DeviceGrid::windowHeight() const
{
    return logicalSpan(top_ + kClientHeight * factor_, scale_);
}

} // namespace velmora
