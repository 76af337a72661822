#include "board.h"

#include <utility>

namespace velmora {

namespace {

template <std::size_t... I>
Board::Cells makeCells(std::index_sequence<I...>)
{
    return {CardCell(cardAt(I))...};
}

} // namespace

Board::Board() : cells_(makeCells(std::make_index_sequence<kCardCount>())) {}

std::optional<Card> Board::hitTest(int x, int y) const
{
    const std::optional<Card> card = cardRectAt(x, y);
    if (!card || cell(*card).state() != CellState::Unplayed)
        return std::nullopt;
    return card;
}

bool Board::markPlayed(Card card)
{
    CardCell &target = cells_[cardIndex(card)];
    if (target.state_ == CellState::Played)
        return false;
    target.state_ = CellState::Played;
    return true;
}

bool Board::resetBoard()
{
    bool changed = false;
    for (CardCell &c : cells_) {
        changed = changed || c.state_ == CellState::Played;
        c.state_ = CellState::Unplayed;
    }
    return changed;
}

} // namespace velmora
