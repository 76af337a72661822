#include <window/about.h>
#include <window/clicktracker.h>

#include <board/board.h>

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr Card kAce{Rank::Ace, Suit::Clubs};
constexpr Card kKing{Rank::King, Suit::Spades};

TEST(AboutText, BreaksLinesWhereTheBoxNeeds)
{
    EXPECT_EQ(withLineBreaks("a\rb\rc", "\r\n"), "a\r\nb\r\nc");
    EXPECT_EQ(withLineBreaks("a\rb", "\n"), "a\nb");
}

TEST(ClickTracker, PressAndReleaseOverTheSameCardClicksIt)
{
    ClickTracker tracker;
    for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
        tracker.press(button, kAce);
        EXPECT_EQ(tracker.release(button, kAce), kAce);
        EXPECT_EQ(tracker.release(button, kAce), std::nullopt) << "a release without a press clicks nothing";
    }
}

TEST(ClickTracker, NothingElseClicks)
{
    ClickTracker tracker;
    tracker.press(MouseButton::Left, kAce); // released over another card
    EXPECT_EQ(tracker.release(MouseButton::Left, kKing), std::nullopt);
    tracker.press(MouseButton::Left, kAce); // released over a gap
    EXPECT_EQ(tracker.release(MouseButton::Left, std::nullopt), std::nullopt);
    tracker.press(MouseButton::Left, std::nullopt); // pressed on a gap, released on a card
    EXPECT_EQ(tracker.release(MouseButton::Left, kAce), std::nullopt);
    tracker.press(MouseButton::Other, kAce); // the middle button plays nothing
    EXPECT_EQ(tracker.release(MouseButton::Other, kAce), std::nullopt);
    tracker.press(MouseButton::Left, kAce); // the other button's release is not this click's
    EXPECT_EQ(tracker.release(MouseButton::Right, kAce), std::nullopt);
    EXPECT_EQ(tracker.release(MouseButton::Left, kAce), kAce);
}

TEST(ClickTracker, ASecondPressOrLosingTheMouseCancelsTheClick)
{
    ClickTracker tracker;
    for (MouseButton second : {MouseButton::Right, MouseButton::Other}) {
        tracker.press(MouseButton::Left, kAce);
        tracker.press(second, kAce);
        EXPECT_EQ(tracker.release(second, kAce), std::nullopt);
        EXPECT_EQ(tracker.release(MouseButton::Left, kAce), std::nullopt);
    }
    tracker.press(MouseButton::Right, kAce);
    tracker.cancel();
    EXPECT_EQ(tracker.release(MouseButton::Right, kAce), std::nullopt);
}

} // namespace
} // namespace velmora
