#include "cardpixmaps.h"

#include <pictures.h>

#include <QImage>

#include <utility>

namespace velmora {

namespace {

QPixmap toPixmap(const Picture &picture)
{
    // The stored form is a bottom-up BGR bitmap with 4-byte aligned rows, which
    // QImage reads directly once flipped.
    const QImage bottomUp(picture.dib().data(), picture.width(), picture.height(), kDibRowBytes,
                          QImage::Format_BGR888);
    return QPixmap::fromImage(bottomUp.mirrored(false, true));
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

} // namespace velmora
