#pragma once

#include <board/board.h>

#include <string>
#include <string_view>

namespace velmora {

// What screen readers say of the deck beyond each card's name (cardName): the
// name and description of the whole deck, the description of a card in either
// state, and the words every front end speaks after a play and after Reset.
inline constexpr std::string_view kDeckAccessibleName = "Deck";
inline constexpr std::string_view kResetAnnouncement = "Deck reset, no card played";

inline std::string playAnnouncement(Card card) { return cardName(card) + ", played"; }

// A reader that speaks the deck when it gets there says whether the deck is whole.
inline std::string_view deckDescription(const Board &board)
{
    return board == Board() ? "No card played" : "";
}

// The deck's name with whether it is whole, for a reader that would read its
// description twice.
inline std::string deckNameWithState(const Board &board)
{
    return std::string(kDeckAccessibleName) + (board == Board() ? ", no card played" : "");
}

// A card as a reader that gives it a single stop says it: its name, then whether
// it was played.
inline std::string cardNameWithState(const CardCell &cell)
{
    return cell.state() == CellState::Played ? playAnnouncement(cell.card()) : cardName(cell.card());
}

constexpr std::string_view cardStateDescription(CellState state)
{
    return state == CellState::Played ? "Played" : "Not played yet";
}

} // namespace velmora
