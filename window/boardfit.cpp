#include "boardfit.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// From this many device pixels per CSS pixel up, the board fills the screen.
constexpr double kFillingRatio = 2;

} // namespace

BoardFit BoardFit::within(int width, int height, double ratio)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    // Width against height, compared exactly: width / 416 ≤ height / 219.
    const bool widthLimits = static_cast<long long>(width) * kClientHeight <=
                             static_cast<long long>(height) * kClientWidth;
    const BoardFit filling = widthLimits ? BoardFit(width, kClientWidth) : BoardFit(height, kClientHeight);
    const int whole = filling.devicePixels_ / filling.picturePixels_;
    if (ratio >= kFillingRatio || whole < 1)
        return filling;
    return BoardFit(whole, 1);
}

BoardFit::BoardFit(int devicePixels, int picturePixels)
    : devicePixels_(std::max(devicePixels, 1)), picturePixels_(std::max(picturePixels, 1))
{
}

int BoardFit::toDevice(int picture) const
{
    const long long n = static_cast<long long>(picture) * devicePixels_;
    return static_cast<int>((n + picturePixels_ - 1) / picturePixels_);
}

PixelRect BoardFit::toDevice(const PixelRect &picture) const
{
    const int left = toDevice(picture.left);
    const int top = toDevice(picture.top);
    return {left, top, toDevice(picture.right()) - left, toDevice(picture.bottom()) - top};
}

// Exact in doubles: a quotient of whole numbers this small that is not whole
// lies further from the next whole number than a double's rounding reaches.
double BoardFit::pictureFor(double device) const
{
    return std::floor(std::floor(device) * picturePixels_ / devicePixels_);
}

int BoardFit::toPicture(int device) const
{
    return static_cast<int>(pictureFor(device));
}

PicturePoint BoardFit::toPicture(double x, double y) const
{
    // NaN stays NaN, which holds no card.
    return {pictureFor(x), pictureFor(y)};
}

} // namespace velmora
