#include "form1.h"

#include <window/about.h>
#include <window/failure.h>

#include <array>
#include <cmath>
#include <cstdio>

namespace velmora {

std::optional<Card> cardUnder(PicturePoint point)
{
    // The range first: outside the grid, NaN included, no pixel holds the point.
    if (!(point.x >= 0 && point.x < kGridWidth && point.y >= 0 && point.y < kGridHeight))
        return std::nullopt;
    return cardRectAt(static_cast<int>(std::floor(point.x)), static_cast<int>(std::floor(point.y)));
}

namespace {

// The unplayed card under the point, if any.
std::optional<Card> unplayedCardAt(const Board &board, PicturePoint point)
{
    const std::optional<Card> card = cardUnder(point);
    if (!card || board.cell(*card).state() != CellState::Unplayed)
        return std::nullopt;
    return card;
}

} // namespace

void Form1::mousePressed(MouseButton button, PicturePoint point)
{
    runHandler([&] { clicks_.press(button, unplayedCardAt(board_, point)); });
}

void Form1::mouseReleased(MouseButton button, PicturePoint point)
{
    runHandler([&] {
        if (const std::optional<Card> clicked = clicks_.release(button, unplayedCardAt(board_, point)))
            (this->*clickHandler(*clicked))();
    });
}

void Form1::mouseLost()
{
    runHandler([&] { clicks_.cancel(); });
}

void Form1::activateCard(Card card)
{
    runHandler([&] {
        if (board_.cell(card).state() == CellState::Unplayed)
            (this->*clickHandler(card))();
    });
}

void Form1::showBoardAgain()
{
    runHandler([&] {
        if (!view_.showBoard(board_))
            throw FatalError("the deck cannot be shown");
    });
}

void Form1::play(Card card)
{
    runHandler([&] {
        // Hides the card picture and shows the marker: one state change, one cell drawn again.
        if (!board_.markPlayed(card))
            return;
        const CardCell &cell = board_.cell(card);
        if (!view_.showCell(cell))
            throw pictureFailure(cell);
        view_.announceCardState(cell);
        view_.announcePlay(cell);
    });
}

void Form1::Reset_Click()
{
    runHandler([&] {
        const Board before = board_;
        // Hides every marker and shows every card: the whole grid is drawn again.
        board_.resetBoard();
        if (!view_.showBoard(board_))
            throw FatalError("the deck cannot be shown again");
        for (const CardCell &cell : board_.cells()) {
            if (cell.state() != before.cell(cell.card()).state())
                view_.announceCardState(cell);
        }
        // Said even when nothing was played: the player hears that the command ran.
        view_.announceDeckReset();
    });
}

void Form1::About_Click()
{
    runHandler([&] { view_.showMessage(aboutText()); });
}

void Form1::fail(const char *what)
{
    failed_ = true;
    std::fprintf(stderr, "velmora: fatal error: %s\n", what);
    std::fflush(stderr);
    view_.endWithFatalError(fatalErrorText(what));
}

void Form1::Image56_Click() { play({Rank::Ace, Suit::Clubs}); }
void Form1::Image57_Click() { play({Rank::Ace, Suit::Diamonds}); }
void Form1::Image58_Click() { play({Rank::Ace, Suit::Hearts}); }
void Form1::Image59_Click() { play({Rank::Ace, Suit::Spades}); }
void Form1::Image60_Click() { play({Rank::Two, Suit::Clubs}); }
void Form1::Image61_Click() { play({Rank::Two, Suit::Diamonds}); }
void Form1::Image62_Click() { play({Rank::Two, Suit::Hearts}); }
void Form1::Image63_Click() { play({Rank::Two, Suit::Spades}); }
void Form1::Image64_Click() { play({Rank::Three, Suit::Clubs}); }
void Form1::Image65_Click() { play({Rank::Three, Suit::Diamonds}); }
void Form1::Image66_Click() { play({Rank::Three, Suit::Hearts}); }
void Form1::Image67_Click() { play({Rank::Three, Suit::Spades}); }
void Form1::Image68_Click() { play({Rank::Four, Suit::Clubs}); }
void Form1::Image69_Click() { play({Rank::Four, Suit::Diamonds}); }
void Form1::Image70_Click() { play({Rank::Four, Suit::Hearts}); }
void Form1::Image71_Click() { play({Rank::Four, Suit::Spades}); }
void Form1::Image72_Click() { play({Rank::Five, Suit::Clubs}); }
void Form1::Image73_Click() { play({Rank::Five, Suit::Diamonds}); }
void Form1::Image74_Click() { play({Rank::Five, Suit::Hearts}); }
void Form1::Image75_Click() { play({Rank::Five, Suit::Spades}); }
void Form1::Image76_Click() { play({Rank::Six, Suit::Clubs}); }
void Form1::Image77_Click() { play({Rank::Six, Suit::Diamonds}); }
void Form1::Image78_Click() { play({Rank::Six, Suit::Hearts}); }
void Form1::Image79_Click() { play({Rank::Six, Suit::Spades}); }
void Form1::Image80_Click() { play({Rank::Seven, Suit::Clubs}); }
void Form1::Image81_Click() { play({Rank::Seven, Suit::Diamonds}); }
void Form1::Image82_Click() { play({Rank::Seven, Suit::Hearts}); }
void Form1::Image83_Click() { play({Rank::Seven, Suit::Spades}); }
void Form1::Image84_Click() { play({Rank::Eight, Suit::Clubs}); }
void Form1::Image85_Click() { play({Rank::Eight, Suit::Diamonds}); }
void Form1::Image86_Click() { play({Rank::Eight, Suit::Spades}); }
void Form1::Image87_Click() { play({Rank::Eight, Suit::Hearts}); }
void Form1::Image88_Click() { play({Rank::Nine, Suit::Clubs}); }
void Form1::Image89_Click() { play({Rank::Nine, Suit::Diamonds}); }
void Form1::Image90_Click() { play({Rank::Nine, Suit::Hearts}); }
void Form1::Image91_Click() { play({Rank::Nine, Suit::Spades}); }
void Form1::Image92_Click() { play({Rank::Ten, Suit::Clubs}); }
void Form1::Image93_Click() { play({Rank::Ten, Suit::Diamonds}); }
void Form1::Image94_Click() { play({Rank::Ten, Suit::Hearts}); }
void Form1::Image95_Click() { play({Rank::Ten, Suit::Spades}); }
void Form1::Image96_Click() { play({Rank::Jack, Suit::Clubs}); }
void Form1::Image97_Click() { play({Rank::Jack, Suit::Diamonds}); }
void Form1::Image98_Click() { play({Rank::Jack, Suit::Hearts}); }
void Form1::Image99_Click() { play({Rank::Jack, Suit::Spades}); }
void Form1::Image100_Click() { play({Rank::Queen, Suit::Clubs}); }
void Form1::Image101_Click() { play({Rank::Queen, Suit::Diamonds}); }
void Form1::Image102_Click() { play({Rank::Queen, Suit::Hearts}); }
void Form1::Image103_Click() { play({Rank::Queen, Suit::Spades}); }
void Form1::Image104_Click() { play({Rank::King, Suit::Clubs}); }
void Form1::Image105_Click() { play({Rank::King, Suit::Diamonds}); }
void Form1::Image106_Click() { play({Rank::King, Suit::Hearts}); }
void Form1::Image107_Click() { play({Rank::King, Suit::Spades}); }

Form1::ClickHandler Form1::clickHandler(Card card)
{
    // In the order of the pictures' numbers, Image56 first.
    static constexpr std::array<ClickHandler, kCardCount> kHandlers = {
    &Form1::Image56_Click,
    &Form1::Image57_Click,
    &Form1::Image58_Click,
    &Form1::Image59_Click,
    &Form1::Image60_Click,
    &Form1::Image61_Click,
    &Form1::Image62_Click,
    &Form1::Image63_Click,
    &Form1::Image64_Click,
    &Form1::Image65_Click,
    &Form1::Image66_Click,
    &Form1::Image67_Click,
    &Form1::Image68_Click,
    &Form1::Image69_Click,
    &Form1::Image70_Click,
    &Form1::Image71_Click,
    &Form1::Image72_Click,
    &Form1::Image73_Click,
    &Form1::Image74_Click,
    &Form1::Image75_Click,
    &Form1::Image76_Click,
    &Form1::Image77_Click,
    &Form1::Image78_Click,
    &Form1::Image79_Click,
    &Form1::Image80_Click,
    &Form1::Image81_Click,
    &Form1::Image82_Click,
    &Form1::Image83_Click,
    &Form1::Image84_Click,
    &Form1::Image85_Click,
    &Form1::Image86_Click,
    &Form1::Image87_Click,
    &Form1::Image88_Click,
    &Form1::Image89_Click,
    &Form1::Image90_Click,
    &Form1::Image91_Click,
    &Form1::Image92_Click,
    &Form1::Image93_Click,
    &Form1::Image94_Click,
    &Form1::Image95_Click,
    &Form1::Image96_Click,
    &Form1::Image97_Click,
    &Form1::Image98_Click,
    &Form1::Image99_Click,
    &Form1::Image100_Click,
    &Form1::Image101_Click,
    &Form1::Image102_Click,
    &Form1::Image103_Click,
    &Form1::Image104_Click,
    &Form1::Image105_Click,
    &Form1::Image106_Click,
    &Form1::Image107_Click};
    return kHandlers[cardPictureNumber(card) - kFirstCardPicture];
}

} // namespace velmora
