#include "card.h"

namespace velmora {

std::string_view rankName(Rank rank)
{
    static constexpr std::array<std::string_view, kRankCount> names = {
        "Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King"};
    return names.at(column(rank));
}

std::string_view suitName(Suit suit)
{
    static constexpr std::array<std::string_view, kSuitCount> names = {"Clubs", "Diamonds", "Hearts",
                                                                       "Spades"};
    return names.at(row(suit));
}

std::string cardName(Card card)
{
    std::string name(rankName(card.rank));
    name += " of ";
    name += suitName(card.suit);
    return name;
}

} // namespace velmora
