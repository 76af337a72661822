#include "rendering.h"

#include <pictures/pictures.h>

#include <cmath>

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

std::optional<Card> cardDrawnAt(const Board &board, QPoint devicePixel, int scale)
{
    // Device pixel d shows picture pixel floor(d / scale), as renderBoard draws it.
    const auto logical = [scale](int device) { return static_cast<int>(std::floor(double(device) / scale)); };
    return board.hitTest(logical(devicePixel.x()), logical(devicePixel.y()));
}

std::vector<QPoint> edgeDevicePixels(int scale)
{
    std::vector<QPoint> pixels;
    const int middleOfSecondRow = (kRowPitch + kCardHeight / 2) * scale;
    for (int x = kCardWidth * scale - 1; x <= kColumnPitch * scale; ++x)
        pixels.push_back({x, middleOfSecondRow});
    // The sixth column lies under the menu bar's empty end.
    const int middleOfSixthColumn = (5 * kColumnPitch + kCardWidth / 2) * scale;
    for (int y = kCardHeight * scale - 1; y <= kRowPitch * scale; ++y)
        pixels.push_back({middleOfSixthColumn, y});
    for (int y = -scale; y <= 0; ++y)
        pixels.push_back({middleOfSixthColumn, y});
    return pixels;
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
