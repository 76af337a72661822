#include "board.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace velmora {
namespace {

constexpr Card kAceOfClubs{Rank::Ace, Suit::Clubs};
constexpr Card kEightOfHearts{Rank::Eight, Suit::Hearts};
constexpr Card kKingOfSpades{Rank::King, Suit::Spades};

int playedCount(const Board &board)
{
    int played = 0;
    for (const CardCell &c : board.cells())
        played += c.state() == CellState::Played;
    return played;
}

TEST(Board, FreshBoardHoldsEveryCardOnceAllUnplayed)
{
    const Board board;
    std::set<std::pair<Rank, Suit>> seen;
    for (const CardCell &c : board.cells()) {
        EXPECT_EQ(c.state(), CellState::Unplayed);
        seen.insert({c.rank(), c.suit()});
    }
    EXPECT_EQ(seen.size(), 52u);
}

TEST(Board, CellRectanglesFollowTheGridPitch)
{
    const Board board;
    EXPECT_EQ(board.cell(kAceOfClubs).rect(), (PixelRect{0, 0, 30, 50}));
    EXPECT_EQ(board.cell(kEightOfHearts).rect(), (PixelRect{224, 112, 30, 50}));
    EXPECT_EQ(board.cell(kKingOfSpades).rect(), (PixelRect{384, 168, 30, 50}));
    EXPECT_EQ(board.cell({Rank::King, Suit::Spades}).rect().right(), kGridWidth);
    EXPECT_EQ(board.cell({Rank::King, Suit::Spades}).rect().bottom(), kGridHeight);
}

TEST(HitTest, FindsTheCardAtItsOwnCorners)
{
    const Board board;
    for (const CardCell &c : board.cells()) {
        const PixelRect r = c.rect();
        for (auto [x, y] : {std::pair{r.left, r.top}, {r.right() - 1, r.top}, {r.left, r.bottom() - 1},
                            {r.right() - 1, r.bottom() - 1}}) {
            const auto hit = board.hitTest(x, y);
            ASSERT_TRUE(hit) << cardName(c.card()) << " at " << x << "," << y;
            EXPECT_EQ(*hit, c.card());
        }
    }
    EXPECT_EQ(board.hitTest(0, 0), kAceOfClubs);
    EXPECT_EQ(board.hitTest(413, 217), kKingOfSpades);
}

TEST(HitTest, GapsBetweenCardsHitNothing)
{
    const Board board;
    EXPECT_FALSE(board.hitTest(30, 0));
    EXPECT_FALSE(board.hitTest(31, 0));
    EXPECT_EQ(board.hitTest(32, 0), (Card{Rank::Two, Suit::Clubs}));
    for (int y = 50; y <= 55; ++y)
        EXPECT_FALSE(board.hitTest(0, y)) << "y=" << y;
    EXPECT_EQ(board.hitTest(0, 56), (Card{Rank::Ace, Suit::Diamonds}));

    // Every column gap and every row gap, all the way along the grid.
    for (int col = 0; col < kRankCount - 1; ++col)
        for (int y = 0; y < kGridHeight; ++y)
            for (int x = col * kColumnPitch + kCardWidth; x < (col + 1) * kColumnPitch; ++x)
                ASSERT_FALSE(board.hitTest(x, y)) << x << "," << y;
    for (int r = 0; r < kSuitCount - 1; ++r)
        for (int x = 0; x < kGridWidth; ++x)
            for (int y = r * kRowPitch + kCardHeight; y < (r + 1) * kRowPitch; ++y)
                ASSERT_FALSE(board.hitTest(x, y)) << x << "," << y;
}

TEST(HitTest, PointsOutsideTheGridHitNothing)
{
    const Board board;
    EXPECT_FALSE(board.hitTest(414, 0));
    EXPECT_FALSE(board.hitTest(415, 218));
    EXPECT_FALSE(board.hitTest(0, 218));
    EXPECT_FALSE(board.hitTest(-1, 0));
    EXPECT_FALSE(board.hitTest(0, -1));
    EXPECT_FALSE(board.hitTest(INT_MIN, INT_MIN));
    EXPECT_FALSE(board.hitTest(INT_MAX, 0));
    EXPECT_FALSE(board.hitTest(0, INT_MAX));
}

TEST(MarkPlayed, HidesOnlyThatCardFromHitTest)
{
    Board board;
    EXPECT_TRUE(board.markPlayed(kEightOfHearts));
    for (int x = 224; x <= 253; ++x)
        for (int y = 112; y <= 161; ++y)
            ASSERT_FALSE(board.hitTest(x, y)) << x << "," << y;
    for (const CardCell &c : board.cells()) {
        const bool isEight = c.card() == kEightOfHearts;
        EXPECT_EQ(c.state(), isEight ? CellState::Played : CellState::Unplayed) << cardName(c.card());
        if (!isEight) {
            EXPECT_EQ(board.hitTest(c.rect().left, c.rect().top), c.card());
        }
    }
}

TEST(MarkPlayed, PlayedCardStaysPlayedAndReportsNoChange)
{
    Board board;
    ASSERT_TRUE(board.markPlayed(kAceOfClubs));
    const Board before = board;
    EXPECT_FALSE(board.markPlayed(kAceOfClubs));
    EXPECT_EQ(board, before);
}

TEST(ResetBoard, RestoresEveryCardAndIsIdempotent)
{
    Board board;
    EXPECT_FALSE(board.resetBoard()) << "reset of a fresh board changes nothing";
    EXPECT_EQ(board, Board());

    for (int i = 0; i < kCardCount; ++i)
        board.markPlayed(cardAt(i));
    EXPECT_EQ(playedCount(board), 52);
    for (int x = 0; x < kClientWidth; ++x)
        for (int y = 0; y < kClientHeight; ++y)
            ASSERT_FALSE(board.hitTest(x, y));

    EXPECT_TRUE(board.resetBoard());
    EXPECT_EQ(board, Board());
    EXPECT_FALSE(board.resetBoard());
    EXPECT_EQ(board, Board());
}

TEST(ResetBoard, CardCanBePlayedAgainAfterReset)
{
    Board board;
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(board.hitTest(230, 120), kEightOfHearts);
        EXPECT_TRUE(board.markPlayed(kEightOfHearts));
        EXPECT_FALSE(board.hitTest(230, 120));
        EXPECT_EQ(playedCount(board), 1);
        EXPECT_TRUE(board.resetBoard());
    }
}

// The window's picture names, exactly as the form was laid out: card picture / marker picture.
TEST(PictureNames, MatchTheFormLayoutForEveryCell)
{
    const char *const table[kRankCount][kSuitCount][2] = {
        {{"Image56", "Image3"}, {"Image57", "Image16"}, {"Image58", "Image29"}, {"Image59", "Image42"}},
        {{"Image60", "Image4"}, {"Image61", "Image17"}, {"Image62", "Image30"}, {"Image63", "Image43"}},
        {{"Image64", "Image5"}, {"Image65", "Image18"}, {"Image66", "Image31"}, {"Image67", "Image44"}},
        {{"Image68", "Image6"}, {"Image69", "Image19"}, {"Image70", "Image32"}, {"Image71", "Image45"}},
        {{"Image72", "Image7"}, {"Image73", "Image20"}, {"Image74", "Image33"}, {"Image75", "Image46"}},
        {{"Image76", "Image8"}, {"Image77", "Image21"}, {"Image78", "Image34"}, {"Image79", "Image47"}},
        {{"Image80", "Image9"}, {"Image81", "Image22"}, {"Image82", "Image35"}, {"Image83", "Image48"}},
        {{"Image84", "Image10"}, {"Image85", "Image23"}, {"Image87", "Image36"}, {"Image86", "Image50"}},
        {{"Image88", "Image11"}, {"Image89", "Image24"}, {"Image90", "Image37"}, {"Image91", "Image51"}},
        {{"Image92", "Image12"}, {"Image93", "Image25"}, {"Image94", "Image38"}, {"Image95", "Image52"}},
        {{"Image96", "Image13"}, {"Image97", "Image26"}, {"Image98", "Image39"}, {"Image99", "Image53"}},
        {{"Image100", "Image14"}, {"Image101", "Image27"}, {"Image102", "Image40"}, {"Image103", "Image54"}},
        {{"Image104", "Image15"}, {"Image105", "Image28"}, {"Image106", "Image41"}, {"Image107", "Image55"}},
    };
    // An unplayed cell shows its card picture, a played one its marker picture.
    Board board;
    for (const int shown : {0, 1}) {
        for (const CardCell &c : board.cells()) {
            const auto &names = table[column(c.rank())][row(c.suit())];
            EXPECT_EQ(pictureName(c.shownPictureNumber()), names[shown]) << cardName(c.card());
            board.markPlayed(c.card());
        }
    }
}

TEST(CardNames, ReadAsAPlayerSaysThem)
{
    EXPECT_EQ(cardName({Rank::Queen, Suit::Hearts}), "Queen of Hearts");
    EXPECT_EQ(cardName({Rank::Ten, Suit::Clubs}), "10 of Clubs");
    EXPECT_EQ(cardName(kAceOfClubs), "Ace of Clubs");
}

} // namespace
} // namespace velmora
