#include "deckpictures.h"

#include <pictures/pictures.h>

namespace velmora::win32 {

DeckPictures DeckPictures::builtIn()
{
    DeckPictures pictures;
    for (int i = 0; i < kCardCount; ++i) {
        const Card card = cardAt(i);
        pictures.cards[i] = &cardPicture(card.rank, card.suit);
    }
    pictures.marker = &markerPicture();
    return pictures;
}

} // namespace velmora::win32
