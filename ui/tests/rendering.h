#pragma once

#include <board/board.h>
#include <pictures/picture.h>

#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace velmora::test {

// A 30 x 50 picture from the library, pixel for pixel.
QImage pictureImage(const Picture &picture);

// The client area as it must look for this board, drawn pixel by pixel straight
// from the picture library, independently of the window's own drawing code.
QImage renderBoard(const Board &board, QRgb background, int scale = 1);

// The card drawn under a device pixel of the client area at this scale, if it is unplayed.
std::optional<Card> cardDrawnAt(const Board &board, QPoint devicePixel, int scale);

// Every device pixel across the gap between the first two columns, across the
// gap between the first two rows, and across the board's top edge under the
// menu bar: where a click that is off by a fraction of a pixel marks the wrong card.
std::vector<QPoint> edgeDevicePixels(int scale);

// Empty when the images are equal, otherwise where and how they first differ.
QString firstDifference(const QImage &actual, const QImage &expected);

} // namespace velmora::test
