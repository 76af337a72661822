#include "cardpixmaps.h"

#include <pictures/pictures.h>

#include <QHash>
#include <QImage>

namespace velmora {

namespace {

QPixmap toPixmap(const Picture &picture)
{
    // Straight from the stored bottom-up BGR rows into the screen's own pixel
    // format, so that no conversion or flip is paid for at start-up.
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t *bgr = picture.dib().data() + (picture.height() - 1 - y) * kDibRowBytes;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x, bgr += 3)
            line[x] = qRgb(bgr[2], bgr[1], bgr[0]);
    }
    return QPixmap::fromImage(image);
}

QPixmap toPixmap(const IconPicture &icon)
{
    QImage image(icon.size(), icon.size(), QImage::Format_ARGB32);
    for (int y = 0; y < icon.size(); ++y) {
        for (int x = 0; x < icon.size(); ++x) {
            const Rgba p = icon.rgba(x, y);
            image.setPixel(x, y, qRgba(p.r, p.g, p.b, p.a));
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(toPixmap(appIcon(size)));
    return icon;
}

CardPixmaps CardPixmaps::fromPictures()
{
    CardPixmaps pixmaps;
    // One marker pixmap, shared by every cell's marker number.
    const QPixmap marker = toPixmap(pictureNumbered(markerPictureNumber(cardAt(0))));
    for (int i = 0; i < kCardCount; ++i) {
        const int card = cardPictureNumber(cardAt(i));
        pixmaps.pixmaps_[card] = toPixmap(pictureNumbered(card));
        pixmaps.pixmaps_[markerPictureNumber(cardAt(i))] = marker;
    }
    return pixmaps;
}

CardPixmaps CardPixmaps::scaled(int factor) const
{
    CardPixmaps enlarged;
    // The markers share one pixmap, and so do their enlargements.
    QHash<qint64, QPixmap> done;
    for (std::size_t number = 0; number < pixmaps_.size(); ++number) {
        const QPixmap &picture = pixmaps_[number];
        if (picture.isNull() || factor == 1) {
            enlarged.pixmaps_[number] = picture;
            continue;
        }
        QPixmap &made = done[picture.cacheKey()];
        if (made.isNull())
            made = picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        enlarged.pixmaps_[number] = made;
    }
    return enlarged;
}

} // namespace velmora
