#pragma once

#include <board/card.h>

#include <QIcon>
#include <QPixmap>

#include <array>

namespace velmora {

// The deck's pictures converted once into pixmaps that the window can blit.
class CardPixmaps {
public:
    CardPixmaps(std::array<QPixmap, kCardCount> cards, QPixmap marker);

    // Every card picture and the marker from the built-in artwork.
    static CardPixmaps fromPictures();

    // Every picture enlarged `factor` times, each pixel a sharp square block.
    CardPixmaps scaled(int factor) const;

    const QPixmap &card(Card card) const { return cards_[cardIndex(card)]; }
    const QPixmap &marker() const { return marker_; }

private:
    std::array<QPixmap, kCardCount> cards_;
    QPixmap marker_;
};

// The application icon at both of its sizes.
QIcon applicationIcon();

} // namespace velmora
