#pragma once

#include "card.h"
#include "geometry.h"

#include <string>

namespace velmora {

enum class CellState { Unplayed, Played };

// Numbers of the two pictures the window has for each cell: card pictures
// 56..107 go down each column, marker pictures 3..55 go along each row.
inline constexpr int kFirstCardPicture = 56;
inline constexpr int kFirstMarkerPicture = 3;
inline constexpr int kSkippedMarkerPicture = 49;
inline constexpr int kLastCardPicture = kFirstCardPicture + kCardCount - 1;

constexpr int cardPictureNumber(Card card)
{
    Suit suit = card.suit;
    // The window was laid out with the 8 of Hearts and the 8 of Spades swapped.
    if (card.rank == Rank::Eight && suit == Suit::Hearts)
        suit = Suit::Spades;
    else if (card.rank == Rank::Eight && suit == Suit::Spades)
        suit = Suit::Hearts;
    return kFirstCardPicture + column(card.rank) * kSuitCount + row(suit);
}

constexpr int markerPictureNumber(Card card)
{
    const int number = kFirstMarkerPicture + row(card.suit) * kRankCount + column(card.rank);
    return number < kSkippedMarkerPicture ? number : number + 1;
}

std::string pictureName(int number); // "Image56"

// One place in the grid: a fixed card and whether it has been played yet.
class CardCell {
public:
    explicit constexpr CardCell(Card card) : card_(card) {}

    constexpr Card card() const { return card_; }
    constexpr Rank rank() const { return card_.rank; }
    constexpr Suit suit() const { return card_.suit; }
    constexpr CellState state() const { return state_; }
    constexpr PixelRect rect() const { return cellRect(card_); }

    // The number of the one picture the cell shows now: its card's while
    // unplayed, its marker's once played. Every front end draws this picture.
    constexpr int shownPictureNumber() const
    {
        return state_ == CellState::Played ? markerPictureNumber(card_) : cardPictureNumber(card_);
    }

    friend constexpr bool operator==(const CardCell &, const CardCell &) = default;

private:
    friend class Board; // only the board changes a cell's state

    Card card_;
    CellState state_ = CellState::Unplayed;
};

} // namespace velmora
