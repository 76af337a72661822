#include "cardpixmaps.h"

#include <pictures/pictures.h>

#include <QImage>

#include <utility>

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

CardPixmaps::CardPixmaps(std::array<QPixmap, kCardCount> cards, QPixmap marker)
    : cards_(std::move(cards)), marker_(std::move(marker))
{
}

CardPixmaps CardPixmaps::fromPictures()
{
    std::array<QPixmap, kCardCount> cards;
    for (int i = 0; i < kCardCount; ++i) {
        const Card c = cardAt(i);
        cards[i] = toPixmap(cardPicture(c.rank, c.suit));
    }
    return CardPixmaps(std::move(cards), toPixmap(markerPicture()));
}

CardPixmaps CardPixmaps::scaled(int factor) const
{
    const auto enlarged = [factor](const QPixmap &picture) {
        return factor == 1 ? picture : picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    std::array<QPixmap, kCardCount> cards;
    for (int i = 0; i < kCardCount; ++i)
        cards[i] = enlarged(cards_[i]);
    return CardPixmaps(std::move(cards), enlarged(marker_));
}

} // namespace velmora
