#include <pictures/box.h>
#include <pictures/pictures.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

namespace velmora {
namespace {

// The card design's boxes, written out here from the design itself rather
// than taken from the library, so that a slip in either shows up.
constexpr Box box(int x0, int x1, int y0, int y1) { return {{x0, x1}, {y0, y1}}; }

struct RankDesign {
    Box index;
    Box turnedIndex;
    Box largeRank;
};

constexpr std::array<RankDesign, 12> kRankDesigns = {{
    {box(1, 3, 4, 9), box(26, 28, 40, 45), box(6, 23, 5, 21)},
    {box(0, 4, 4, 11), box(25, 29, 38, 45), box(8, 20, 1, 19)},
    {box(0, 4, 4, 11), box(25, 29, 38, 45), box(9, 20, 2, 18)},
    {box(0, 4, 4, 11), box(25, 29, 39, 46), box(6, 21, 1, 20)},
    {box(0, 4, 3, 10), box(25, 29, 39, 46), box(8, 19, 1, 19)},
    {box(0, 4, 3, 10), box(25, 29, 39, 46), box(10, 21, 2, 21)},
    {box(0, 4, 4, 11), box(25, 29, 38, 45), box(9, 19, 2, 18)},
    {box(0, 4, 4, 11), box(25, 29, 38, 45), box(9, 19, 2, 19)},
    {box(0, 4, 4, 11), box(25, 29, 38, 45), box(9, 18, 2, 17)},
    {box(0, 9, 4, 11), box(20, 29, 38, 45), box(10, 22, 13, 24)},
    {box(0, 3, 4, 11), box(26, 29, 38, 45), box(11, 19, 4, 17)},
    {box(0, 6, 3, 12), box(23, 29, 37, 46), box(8, 21, 1, 19)},
}};
// The 10's two characters, each with a box of its own.
constexpr std::array<Box, 4> kTenDigits = {box(0, 2, 4, 11), box(5, 9, 4, 11), box(10, 13, 13, 24),
                                           box(16, 22, 13, 24)};

// By rank, then clubs, diamonds, hearts, spades.
constexpr Box kPipDesign[kRankCount][kSuitCount] = {
    {box(10, 19, 32, 40), box(10, 20, 31, 41), box(10, 20, 33, 41), box(9, 19, 29, 39)},
    {box(9, 18, 27, 35), box(9, 19, 27, 37), box(9, 19, 28, 36), box(8, 18, 27, 37)},
    {box(9, 18, 26, 34), box(9, 19, 27, 37), box(8, 18, 27, 35), box(9, 19, 27, 37)},
    {box(9, 18, 29, 37), box(9, 19, 27, 37), box(9, 19, 28, 36), box(9, 19, 25, 35)},
    {box(10, 19, 26, 34), box(9, 19, 27, 37), box(9, 19, 26, 34), box(9, 19, 25, 35)},
    {box(10, 19, 26, 34), box(9, 19, 26, 36), box(10, 20, 28, 36), box(9, 19, 27, 37)},
    {box(10, 19, 26, 34), box(9, 19, 24, 34), box(10, 20, 28, 36), box(9, 19, 25, 35)},
    {box(10, 19, 26, 34), box(9, 19, 24, 34), box(9, 19, 26, 34), box(9, 19, 23, 33)},
    {box(10, 19, 26, 34), box(9, 19, 23, 33), box(9, 19, 26, 34), box(9, 19, 24, 34)},
    {box(10, 19, 27, 35), box(10, 20, 27, 37), box(10, 20, 28, 36), box(10, 20, 26, 36)},
    {box(10, 19, 26, 34), box(10, 20, 24, 34), box(9, 19, 25, 33), box(9, 19, 24, 34)},
    {box(10, 19, 26, 34), box(10, 20, 24, 34), box(9, 19, 27, 35), box(9, 19, 25, 35)},
    {box(10, 19, 36, 44), box(9, 19, 35, 45), box(9, 19, 36, 44), box(10, 20, 35, 45)},
};

constexpr std::array<Box, 8> kCornerMarks = {box(0, 2, 0, 0),   box(0, 0, 1, 2),    box(27, 29, 0, 0),
                                             box(29, 29, 1, 2), box(0, 0, 47, 48),  box(0, 2, 49, 49),
                                             box(29, 29, 47, 48), box(27, 29, 49, 49)};
constexpr Box kFrame = box(4, 25, 3, 47);
constexpr Box kPortrait = box(4, 25, 4, 33);
constexpr std::array<int, 8> kKingLeftBreaks = {20, 21, 24, 25, 26, 27, 28, 33};
constexpr std::array<int, 7> kKingRightBreaks = {19, 20, 23, 27, 28, 32, 33};

// The pure colours by value, not by the library's names for them.
constexpr Rgb kPureWhite{255, 255, 255};
constexpr Rgb kPureBlack{0, 0, 0};
constexpr Rgb kPureRed{255, 0, 0};
constexpr std::array<Rgb, 4> kPortraitOnly = {{{0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255}}};

template <typename Range, typename Value>
bool holds(const Range &range, const Value &value)
{
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

bool isPortraitColor(Rgb p) { return holds(kPortraitOnly, p); }
bool hasFrame(Rank rank) { return rank == Rank::Ace || rank == Rank::King; }
const RankDesign &design(Rank rank) { return kRankDesigns.at(static_cast<std::size_t>(column(rank))); }
Box pipBox(Card card) { return kPipDesign[column(card.rank)][row(card.suit)]; }

Box hull(const Box &a, const Box &b)
{
    return box(std::min(a.x.from, b.x.from), std::max(a.x.to, b.x.to), std::min(a.y.from, b.y.from),
               std::max(a.y.to, b.y.to));
}

// The bounding box of the non-white pixels inside area.
std::optional<Box> inkBounds(const Picture &picture, const Box &area)
{
    std::optional<Box> bounds;
    for (int y = area.y.from; y <= area.y.to; ++y) {
        for (int x = area.x.from; x <= area.x.to; ++x) {
            if (picture.pixel(x, y) == kPureWhite)
                continue;
            bounds = hull(bounds.value_or(box(x, x, y, y)), box(x, x, y, y));
        }
    }
    return bounds;
}

// Every element that a card carries, each with the box its ink must fill.
std::vector<Box> elementBoxes(Card card)
{
    std::vector<Box> boxes = {pipBox(card)};
    if (card.rank == Rank::Ten) {
        boxes.insert(boxes.end(), kTenDigits.begin(), kTenDigits.end());
        boxes.push_back(design(card.rank).turnedIndex);
    } else if (card.rank != Rank::King) {
        const RankDesign &d = design(card.rank);
        boxes.insert(boxes.end(), {d.index, d.turnedIndex, d.largeRank});
    }
    return boxes;
}

bool inside(const Box &box, int x, int y)
{
    return x >= box.x.from && x <= box.x.to && y >= box.y.from && y <= box.y.to;
}

bool onFrame(int x, int y)
{
    return inside(kFrame, x, y) && (x == kFrame.x.from || x == kFrame.x.to || y == kFrame.y.from ||
                                     y == kFrame.y.to);
}

template <typename Check>
void forEachCard(Check check)
{
    for (Suit suit : kSuits) {
        for (Rank rank : kRanks) {
            const Card card{rank, suit};
            SCOPED_TRACE(cardName(card));
            check(card, cardPicture(rank, suit));
        }
    }
}

template <typename Check>
void forEachPixel(Check check)
{
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x)
            check(x, y);
    }
}

TEST(Deck, FiftyTwoDistinctPicturesOf30By50ThatStayPut)
{
    std::set<std::array<std::uint8_t, kDibSize>> distinct;
    forEachCard([&](Card card, const Picture &picture) {
        EXPECT_EQ(picture.width(), 30);
        EXPECT_EQ(picture.height(), 50);
        EXPECT_EQ(&picture, &cardPicture(card.rank, card.suit));
        EXPECT_EQ(&picture, &pictureNumbered(cardPictureNumber(card)));
        EXPECT_EQ(&markerPicture(), &pictureNumbered(markerPictureNumber(card)));
        distinct.insert(picture.dib());
    });
    EXPECT_EQ(distinct.size(), 52u);
}

TEST(Deck, ColoursStayWhereTheyBelong)
{
    // Seven pure colours; red only in the red suits' pips, the other four only in the kings' portrait.
    forEachCard([](Card card, const Picture &picture) {
        const bool redSuit = card.suit == Suit::Diamonds || card.suit == Suit::Hearts;
        forEachPixel([&](int x, int y) {
            const Rgb p = picture.pixel(x, y);
            if (p == kPureWhite || p == kPureBlack)
                return;
            if (p == kPureRed) {
                EXPECT_TRUE(redSuit && inside(pipBox(card), x, y)) << "red at " << x << "," << y;
            } else if (isPortraitColor(p)) {
                EXPECT_TRUE(card.rank == Rank::King && inside(kPortrait, x, y)) << "colour at " << x << "," << y;
            } else {
                ADD_FAILURE() << "foreign colour at " << x << "," << y;
            }
        });
    });
}

TEST(Deck, CornerMarksAreTheOnlyOutline)
{
    forEachCard([](Card, const Picture &picture) {
        forEachPixel([&](int x, int y) {
            for (const Box &mark : kCornerMarks) {
                if (inside(mark, x, y)) {
                    EXPECT_EQ(picture.pixel(x, y), kPureBlack) << x << "," << y;
                }
            }
        });
        EXPECT_EQ(picture.pixel(1, 1), kPureWhite);
        EXPECT_EQ(picture.pixel(28, 48), kPureWhite);
    });
}

TEST(Deck, EveryElementFillsExactlyItsBoxAndNothingLiesOutside)
{
    forEachCard([](Card card, const Picture &picture) {
        const std::vector<Box> elements = elementBoxes(card);
        for (const Box &element : elements)
            EXPECT_EQ(inkBounds(picture, element), element)
                << "box x " << element.x.from << "-" << element.x.to << ", y " << element.y.from << "-"
                << element.y.to;
        if (card.rank == Rank::King) {
            EXPECT_EQ(inkBounds(picture, box(5, 24, 4, 34)), box(5, 24, 4, 33)) << "portrait";
        }

        forEachPixel([&](int x, int y) {
            if (picture.pixel(x, y) == kPureWhite)
                return;
            const auto covers = [&](const Box &b) { return inside(b, x, y); };
            const bool placed = std::any_of(elements.begin(), elements.end(), covers) ||
                                std::any_of(kCornerMarks.begin(), kCornerMarks.end(), covers) ||
                                (hasFrame(card.rank) && onFrame(x, y)) ||
                                (card.rank == Rank::King && inside(kPortrait, x, y));
            EXPECT_TRUE(placed) << "stray ink at " << x << "," << y;
        });
    });
}

TEST(Deck, CardsOfOneRankDifferOnlyInsideTheirPips)
{
    // This is also what makes the four kings share one portrait.
    for (Rank rank : kRanks) {
        const Card clubs{rank, Suit::Clubs};
        for (Suit suit : {Suit::Diamonds, Suit::Hearts, Suit::Spades}) {
            const Card other{rank, suit};
            SCOPED_TRACE(cardName(other));
            forEachPixel([&](int x, int y) {
                if (!inside(pipBox(clubs), x, y) && !inside(pipBox(other), x, y)) {
                    EXPECT_EQ(cardPicture(rank, suit).pixel(x, y), cardPicture(rank, Suit::Clubs).pixel(x, y))
                        << x << "," << y;
                }
            });
        }
    }
}

std::vector<Rgb> pipPixels(Card card)
{
    const Box b = pipBox(card);
    std::vector<Rgb> pixels;
    for (int y = b.y.from; y <= b.y.to; ++y) {
        for (int x = b.x.from; x <= b.x.to; ++x)
            pixels.push_back(cardPicture(card.rank, card.suit).pixel(x, y));
    }
    return pixels;
}

TEST(Pips, EachSuitHasOneShapeOfItsSize)
{
    const int widths[] = {10, 11, 11, 11};
    const int heights[] = {9, 11, 9, 11};
    for (Suit suit : kSuits) {
        const std::vector<Rgb> ace = pipPixels({Rank::Ace, suit});
        for (Rank rank : kRanks) {
            SCOPED_TRACE(cardName({rank, suit}));
            EXPECT_EQ(pipBox({rank, suit}).width(), widths[row(suit)]);
            EXPECT_EQ(pipBox({rank, suit}).height(), heights[row(suit)]);
            EXPECT_EQ(pipPixels({rank, suit}), ace);
        }
    }
}

TEST(Pips, BlackSuitsAreSolidAndRedSuitsHaveAClosedOutline)
{
    for (Suit suit : kSuits) {
        const Card ace{Rank::Ace, suit};
        const Box b = pipBox(ace);
        const Picture &picture = cardPicture(ace.rank, suit);
        int red = 0;
        for (int y = b.y.from; y <= b.y.to; ++y) {
            for (int x = b.x.from; x <= b.x.to; ++x) {
                if (picture.pixel(x, y) != kPureRed)
                    continue;
                ++red;
                // No red pixel may touch white: the black outline closes all round.
                for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
                    EXPECT_NE(picture.pixel(nx, ny), kPureWhite) << suitName(suit) << " at " << x << "," << y;
            }
        }
        const bool redSuit = suit == Suit::Diamonds || suit == Suit::Hearts;
        EXPECT_EQ(red > 0, redSuit) << suitName(suit);
    }
}

TEST(Deck, BottomRightIndexIsTheTopLeftOneTurnedHalfway)
{
    forEachCard([](Card card, const Picture &picture) {
        if (card.rank == Rank::King)
            return;
        const Box tl = design(card.rank).index;
        const Box br = design(card.rank).turnedIndex;
        ASSERT_EQ(tl.width(), br.width());
        ASSERT_EQ(tl.height(), br.height());
        for (int dy = 0; dy < tl.height(); ++dy) {
            for (int dx = 0; dx < tl.width(); ++dx)
                EXPECT_EQ(picture.pixel(tl.x.from + dx, tl.y.from + dy), picture.pixel(br.x.to - dx, br.y.to - dy));
        }
    });
}

TEST(Deck, AcesHaveAWholeFrameAndKingsOneBrokenByThePortrait)
{
    forEachCard([](Card card, const Picture &picture) {
        if (!hasFrame(card.rank))
            return;
        for (int x = kFrame.x.from; x <= kFrame.x.to; ++x) {
            EXPECT_EQ(picture.pixel(x, kFrame.y.from), kPureBlack) << "top at x " << x;
            EXPECT_EQ(picture.pixel(x, kFrame.y.to), kPureBlack) << "bottom at x " << x;
        }
        for (int y = kFrame.y.from; y <= kFrame.y.to; ++y) {
            const bool king = card.rank == Rank::King;
            const Rgb left = picture.pixel(kFrame.x.from, y);
            const Rgb right = picture.pixel(kFrame.x.to, y);
            EXPECT_EQ(isPortraitColor(left), king && holds(kKingLeftBreaks, y)) << "left side at y " << y;
            EXPECT_EQ(isPortraitColor(right), king && holds(kKingRightBreaks, y)) << "right side at y " << y;
            EXPECT_TRUE(left == kPureBlack || isPortraitColor(left)) << "left side at y " << y;
            EXPECT_TRUE(right == kPureBlack || isPortraitColor(right)) << "right side at y " << y;
        }
    });
}

TEST(Marker, IsBlackThroughout)
{
    const MarkerPicture &marker = markerPicture();
    EXPECT_EQ(marker.width(), 30);
    EXPECT_EQ(marker.height(), 50);
    forEachPixel([&](int x, int y) { EXPECT_EQ(marker.pixel(x, y), kPureBlack) << x << "," << y; });
    EXPECT_EQ(&marker, &markerPicture());
}

TEST(StoredForm, IsABottomUpBgrBitmapWithZeroPaddedRows)
{
    EXPECT_EQ(markerPicture().dib().size(), 4600u);
    // The ace of hearts has red only in its pip, rows 34..40 from the top:
    // stored bottom-up, these are rows 9..15, and red comes last in each pixel.
    const auto &dib = cardPicture(Rank::Ace, Suit::Hearts).dib();
    std::set<int> redRows;
    for (int row = 0; row < 50; ++row) {
        for (int x = 0; x < 30; ++x) {
            const int at = row * 92 + 3 * x;
            if (dib[at] == 0 && dib[at + 1] == 0 && dib[at + 2] == 255)
                redRows.insert(row);
        }
        EXPECT_EQ(dib[row * 92 + 90], 0);
        EXPECT_EQ(dib[row * 92 + 91], 0);
    }
    EXPECT_EQ(*redRows.begin(), 49 - 40);
    EXPECT_EQ(*redRows.rbegin(), 49 - 34);
}

TEST(Deck, RefusesRanksAndSuitsOutsideTheirEnumerations)
{
    // A rank one past the King must not quietly give the next suit's Ace.
    EXPECT_THROW(cardPicture(static_cast<Rank>(13), Suit::Clubs), std::out_of_range);
    EXPECT_THROW(cardPicture(static_cast<Rank>(-1), Suit::Diamonds), std::out_of_range);
    EXPECT_THROW(cardPicture(Rank::Ace, static_cast<Suit>(4)), std::out_of_range);
    for (int unnamed : {2, 49, 108})
        EXPECT_THROW(pictureNumbered(unnamed), std::out_of_range) << unnamed;
}

TEST(Picture, RejectsPixelsOutsideIt)
{
    const Picture &picture = markerPicture();
    EXPECT_THROW(picture.pixel(-1, 0), std::out_of_range);
    EXPECT_THROW(picture.pixel(30, 0), std::out_of_range);
    EXPECT_THROW(picture.pixel(0, 50), std::out_of_range);
}

TEST(AppIcon, ComesIn32And16PixelsOfBlackWhiteAndRedWithTransparency)
{
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        const IconPicture &icon = appIcon(size);
        ASSERT_EQ(icon.size(), size);
        std::set<int> indices;
        int transparent = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const Rgba p = icon.rgba(x, y);
                if (icon.isTransparent(x, y)) {
                    ++transparent;
                    EXPECT_EQ(p.a, 0);
                    continue;
                }
                indices.insert(icon.colorIndex(x, y));
                EXPECT_EQ(p.a, 255);
            }
        }
        EXPECT_EQ(indices, (std::set<int>{0, 9, 15})); // black, red and white in the standard palette
        EXPECT_GT(transparent, 0);
        EXPECT_TRUE(icon.isTransparent(0, 0));
        EXPECT_EQ(icon.rgba(size / 2, size / 2).a, 255);
        // The tilted cards run off both sides.
        EXPECT_FALSE(icon.isTransparent(0, size / 2));
        EXPECT_FALSE(icon.isTransparent(size - 1, size / 2));
    }
}

TEST(AppIcon, OtherSizesAreRefused)
{
    for (int size : {0, 1, 24, 48, 64, -32})
        EXPECT_THROW(appIcon(size), std::invalid_argument) << size;
}

} // namespace
} // namespace velmora
