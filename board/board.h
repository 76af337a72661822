#pragma once

#include "cardcell.h"

#include <array>
#include <optional>

namespace velmora {

// The 52 cells of the deck on screen. Cells only ever go from unplayed to
// played one at a time, and all back together on reset.
class Board {
public:
    using Cells = std::array<CardCell, kCardCount>;

    Board();

    const Cells &cells() const { return cells_; }
    const CardCell &cell(Card card) const { return cells_[cardIndex(card)]; }

    // The unplayed card whose picture is showing at client pixel (x, y), if any.
    std::optional<Card> hitTest(int x, int y) const;

    // Returns whether anything changed: a played card stays played.
    bool markPlayed(Card card);
    // Returns whether anything changed.
    bool resetBoard();

    friend bool operator==(const Board &, const Board &) = default;

private:
    Cells cells_;
};

} // namespace velmora
