#pragma once

#include "icon.h"
#include "picture.h"

#include <card.h>

namespace velmora {

// The built-in pictures. They are composed once, on first use, and live until
// the process ends; callers only ever get read-only references.

const CardPicture &cardPicture(Rank rank, Suit suit);
// Covers a played card; one picture serves every cell.
const MarkerPicture &markerPicture();
// size is 32 or 16; anything else throws std::invalid_argument.
const IconPicture &appIcon(int size);

} // namespace velmora
