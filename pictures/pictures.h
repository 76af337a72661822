#pragma once

#include "icon.h"
#include "picture.h"

#include <board/cardcell.h>

namespace velmora {

// The built-in pictures. They are composed by the compiler and live as long as
// the process; callers only ever get read-only references.

// Throws std::out_of_range for a rank or suit outside its enumeration.
const CardPicture &cardPicture(Rank rank, Suit suit);
// Covers a played card; one picture serves every cell.
const MarkerPicture &markerPicture();
// The window's pictures by number, as CardCell::shownPictureNumber gives them:
// the cards' from Image56 on, the markers' below. Throws std::out_of_range for a
// number that names no picture.
const Picture &pictureNumbered(int number);
// size is 32 or 16; anything else throws std::invalid_argument.
const IconPicture &appIcon(int size);

} // namespace velmora
