#pragma once

#include <window/form1.h>

#include <board/geometry.h>

namespace velmora {

// The board on the device pixels a screen has for it, drawn nearest neighbour:
// n device pixels for every d picture pixels, picture pixel i of a row or column
// starting at device pixel ⌈i·n/d⌉. Each picture pixel then spans ⌊n/d⌋ or ⌈n/d⌉
// device pixels, and device pixel D shows picture pixel ⌊D·d/n⌋ and no blend.
class BoardFit
{
public:
    // The fit for `width` × `height` free device pixels on a screen of `ratio`
    // device pixels per CSS pixel. Where device pixels are small (a ratio of 2 or
    // more: phones, tablets, high-resolution laptops) the board fills the space,
    // since blocks one device pixel apart in size cannot be told apart there.
    // Elsewhere it keeps whole square blocks, the largest that fit; only a board
    // that does not fit at one device pixel a picture pixel shrinks to fit.
    static BoardFit within(int width, int height, double ratio);

    BoardFit(int devicePixels, int picturePixels);

    // The first device pixel of picture pixel `picture` (0 or more) of a row or column.
    int toDevice(int picture) const;
    PixelRect toDevice(const PixelRect &picture) const;
    // The picture pixel shown on device pixel `device`.
    int toPicture(int device) const;
    // The picture pixel drawn on the device pixel that holds device point (x, y).
    PicturePoint toPicture(double x, double y) const;

    // The client area in device pixels.
    int width() const { return toDevice(kClientWidth); }
    int height() const { return toDevice(kClientHeight); }

    friend bool operator==(const BoardFit &a, const BoardFit &b)
    {
        return static_cast<long long>(a.devicePixels_) * b.picturePixels_ ==
               static_cast<long long>(b.devicePixels_) * a.picturePixels_;
    }

private:
    double pictureFor(double device) const;

    int devicePixels_;
    int picturePixels_;
};

} // namespace velmora
