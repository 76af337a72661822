#pragma once

#include <board/cardcell.h>

#include <string_view>

namespace velmora {

// What screen readers say of the deck beyond each card's name (cardName): the
// name of the whole deck, and the description of a card in either state.
inline constexpr std::string_view kDeckAccessibleName = "Deck";

constexpr std::string_view cardStateDescription(CellState state)
{
    return state == CellState::Played ? "Played" : "Not played yet";
}

} // namespace velmora
