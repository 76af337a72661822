#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora {

// The order of each enumeration is also its place in the grid: ranks are
// columns from the left, suits are rows from the top.
enum class Rank { Ace, Two, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King };
enum class Suit { Clubs, Diamonds, Hearts, Spades };

inline constexpr int kRankCount = 13;
inline constexpr int kSuitCount = 4;
inline constexpr int kCardCount = kRankCount * kSuitCount;

inline constexpr std::array<Rank, kRankCount> kRanks = {
    Rank::Ace,  Rank::Two, Rank::Three, Rank::Four, Rank::Five,  Rank::Six, Rank::Seven,
    Rank::Eight, Rank::Nine, Rank::Ten, Rank::Jack, Rank::Queen, Rank::King};
inline constexpr std::array<Suit, kSuitCount> kSuits = {Suit::Clubs, Suit::Diamonds, Suit::Hearts,
                                                        Suit::Spades};

constexpr int column(Rank rank) { return static_cast<int>(rank); }
constexpr int row(Suit suit) { return static_cast<int>(suit); }

// One card of the deck, the key by which the board and the pictures are looked up.
struct Card {
    Rank rank;
    Suit suit;

    friend constexpr bool operator==(Card, Card) = default;
};

// Cells are numbered row by row: clubs Ace..King, then diamonds, hearts, spades.
constexpr int cardIndex(Card card) { return row(card.suit) * kRankCount + column(card.rank); }
constexpr Card cardAt(int index)
{
    return {kRanks.at(index % kRankCount), kSuits.at(index / kRankCount)};
}

std::string_view rankName(Rank rank);
std::string_view suitName(Suit suit);
// "Queen of Hearts", "10 of Clubs": what a player would say.
std::string cardName(Card card);

} // namespace velmora
