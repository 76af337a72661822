#include "rendering.h"

#include <pictures.h>

namespace velmora::test {

QImage pictureImage(const Picture &picture)
{
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb p = picture.pixel(x, y);
            image.setPixel(x, y, qRgb(p.r, p.g, p.b));
        }
    }
    return image;
}

QImage renderBoard(const Board &board, QRgb background, int scale)
{
    QImage image(kClientWidth * scale, kClientHeight * scale, QImage::Format_RGB32);
    image.fill(background);
    for (const CardCell &cell : board.cells()) {
        const QImage picture = pictureImage(
            cell.state() == CellState::Played ? markerPicture() : cardPicture(cell.rank(), cell.suit()));
        const PixelRect r = cell.rect();
        for (int y = 0; y < r.height * scale; ++y) {
            for (int x = 0; x < r.width * scale; ++x)
                image.setPixel(r.left * scale + x, r.top * scale + y, picture.pixel(x / scale, y / scale));
        }
    }
    return image;
}

QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != e.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y) & 0xffffff, 6, 16, QLatin1Char('0'))
                    .arg(e.pixel(x, y) & 0xffffff, 6, 16, QLatin1Char('0'));
        }
    }
    return {};
}

} // namespace velmora::test
