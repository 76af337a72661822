#include "pictures.h"

#include "canvas.h"
#include "cardart.h"
#include "iconart.h"
#include "layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

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
// The portrait's outer columns lie on the frame's sides: black there is frame,
// and colour must break it in exactly the listed rows.
template <std::size_t N>
consteval bool breaksSideAsListed(int x, const std::array<int, N> &rows)
{
    for (int y = layout::kPortrait.y.from; y <= layout::kPortrait.y.to; ++y) {
        const Rgb color = art::kPortrait.color(x, y - layout::kPortrait.y.from).value_or(kWhite);
        const bool listed = std::find(rows.begin(), rows.end(), y) != rows.end();
        if (color == kWhite || (color != kBlack) != listed)
            return false;
    }
    return true;
}

static_assert(art::kIndexedRanks == layout::kRankBoxes.size());
static_assert(breaksSideAsListed(0, layout::kPortraitBreaksLeft) &&
                  breaksSideAsListed(layout::kPortrait.width() - 1, layout::kPortraitBreaksRight),
              "the portrait breaks the frame in other rows than the layout lists");
static_assert(artworkFillsLayout(), "a glyph does not fill the box its element has in the layout");

constexpr Picture composeCard(Card card)
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

template <std::size_t... I>
constexpr std::array<CardPicture, kCardCount> composeDeck(std::index_sequence<I...>)
{
    return {composeCard(cardAt(I))...};
}

// Composed by the compiler: the program starts with every picture ready.
constexpr std::array<CardPicture, kCardCount> kDeck = composeDeck(std::make_index_sequence<kCardCount>{});
constexpr MarkerPicture kMarker = Canvas(kBlack).picture();

// Which card each card picture number shows, from Image56 on.
constexpr std::array<Card, kCardCount> kCardsByPictureNumber = [] {
    std::array<Card, kCardCount> cards{};
    for (int i = 0; i < kCardCount; ++i)
        cards[cardPictureNumber(cardAt(i)) - kFirstCardPicture] = cardAt(i);
    return cards;
}();
constexpr IconPicture kLargeIcon{art::kIcon32};
constexpr IconPicture kSmallIcon{art::kIcon16};

} // namespace

const CardPicture &cardPicture(Rank rank, Suit suit)
{
    // Checked one by one: a rank past the King would otherwise index the next suit's Ace.
    if (column(rank) < 0 || column(rank) >= kRankCount || row(suit) < 0 || row(suit) >= kSuitCount)
        throw std::out_of_range("no such card");
    return kDeck[cardIndex({rank, suit})];
}

const MarkerPicture &markerPicture()
{
    return kMarker;
}

const Picture &pictureNumbered(int number)
{
    if (number >= kFirstCardPicture && number <= kLastCardPicture)
        return kDeck[cardIndex(kCardsByPictureNumber[number - kFirstCardPicture])];
    if (number >= kFirstMarkerPicture && number < kFirstCardPicture && number != kSkippedMarkerPicture)
        return kMarker;
    throw std::out_of_range("no picture has that number");
}

const IconPicture &appIcon(int size)
{
    if (size == kLargeIcon.size())
        return kLargeIcon;
    if (size == kSmallIcon.size())
        return kSmallIcon;
    throw std::invalid_argument("the icon comes in 32 and 16 pixels only");
}

} // namespace velmora
