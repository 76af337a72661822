#include "pictures.h"

#include "canvas.h"
#include "cardart.h"
#include "iconart.h"
#include "layout.h"

#include <stdexcept>
#include <vector>

namespace velmora {

namespace {

constexpr bool fills(const Glyph &glyph, const Box &box)
{
    return glyph.width() == box.width() && glyph.height() == box.height() && glyph.inkReachesEveryEdge();
}

// The layout gives each element its bounding box; the glyph drawn there must
// cover exactly that box, or the card would not look as laid out.
consteval bool artworkFillsLayout()
{
    for (int r = 0; r < art::kIndexedRanks; ++r) {
        const layout::RankBoxes &boxes = layout::kRankBoxes[r];
        if (!fills(art::kIndices[r], boxes.index) || !fills(art::kIndices[r], boxes.turnedIndex) ||
            !fills(art::kLargeRanks[r], boxes.largeRank))
            return false;
    }
    for (const auto &pipBoxes : layout::kPipBoxes) {
        for (int s = 0; s < kSuitCount; ++s) {
            if (!fills(art::kPips[s], pipBoxes[s]))
                return false;
        }
    }
    return fills(art::kPortrait, layout::kPortrait);
}
static_assert(art::kIndexedRanks == layout::kRankBoxes.size());
static_assert(artworkFillsLayout());

Picture composeCard(Card card)
{
    Canvas canvas(kWhite);
    for (const Box &mark : layout::kCornerMarks)
        canvas.fill(mark, kBlack);
    if (card.rank == Rank::Ace || card.rank == Rank::King)
        canvas.outline(layout::kFrame, kBlack);
    if (card.rank == Rank::King) {
        canvas.draw(art::kPortrait, layout::kPortrait);
    } else {
        const int r = column(card.rank);
        const layout::RankBoxes &boxes = layout::kRankBoxes[r];
        canvas.draw(art::kIndices[r], boxes.index);
        canvas.draw(art::kIndices[r], boxes.turnedIndex, Canvas::Turn::HalfTurn);
        canvas.draw(art::kLargeRanks[r], boxes.largeRank);
    }
    canvas.draw(art::kPips[row(card.suit)], layout::kPipBoxes[column(card.rank)][row(card.suit)]);
    return canvas.picture();
}

std::vector<CardPicture> composeDeck()
{
    std::vector<CardPicture> deck;
    deck.reserve(kCardCount);
    for (int i = 0; i < kCardCount; ++i)
        deck.push_back(composeCard(cardAt(i)));
    return deck;
}

} // namespace

const CardPicture &cardPicture(Rank rank, Suit suit)
{
    static const std::vector<CardPicture> deck = composeDeck();
    return deck.at(cardIndex({rank, suit}));
}

const MarkerPicture &markerPicture()
{
    static const MarkerPicture marker = Canvas(kBlack).picture();
    return marker;
}

const IconPicture &appIcon(int size)
{
    static const IconPicture large(art::kIcon32);
    static const IconPicture small(art::kIcon16);
    if (size == large.size())
        return large;
    if (size == small.size())
        return small;
    throw std::invalid_argument("the icon comes in 32 and 16 pixels only");
}

} // namespace velmora
