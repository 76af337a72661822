#pragma once

#include <board.h>
#include <picture.h>

#include <QImage>
#include <QString>

namespace velmora::test {

// A 30 x 50 picture from the library, pixel for pixel.
QImage pictureImage(const Picture &picture);

// The client area as it must look for this board, drawn pixel by pixel straight
// from the picture library, independently of the window's own drawing code.
QImage renderBoard(const Board &board, QRgb background, int scale = 1);

// Empty when the images are equal, otherwise where and how they first differ.
QString firstDifference(const QImage &actual, const QImage &expected);

} // namespace velmora::test
