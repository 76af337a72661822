#pragma once

#include <board/cardcell.h>

#include <QIcon>
#include <QPixmap>

#include <array>

namespace velmora {

// The window's pictures converted once into pixmaps that it can blit, looked
// up by their numbers as CardCell::shownPictureNumber gives them.
class CardPixmaps {
public:
    // Every card picture and the marker from the built-in artwork.
    static CardPixmaps fromPictures();

    // Every picture enlarged `factor` times, each pixel a sharp square block.
    CardPixmaps scaled(int factor) const;

    const QPixmap &picture(int number) const { return pixmaps_.at(number); }

private:
    std::array<QPixmap, kLastCardPicture + 1> pixmaps_;
};

// The application icon at both of its sizes.
QIcon applicationIcon();

} // namespace velmora
