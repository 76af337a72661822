#include <window/config.h>
#include <window/failure.h>
#include <window/form1.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace velmora {
namespace {

constexpr Card kEightOfHearts{Rank::Eight, Suit::Hearts};

// Records what the window asks of its front end; a show can be made to fail.
class RecordingView : public FormView {
public:
    bool showCell(const CardCell &cell) override
    {
        shownCells.push_back(cell.card());
        return cellsCanBeShown;
    }
    bool showBoard(const Board &) override
    {
        ++boardsShown;
        return true;
    }
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    void announceCardState(const CardCell &cell) override { announced.push_back(cell.card()); }
    void announcePlay(const CardCell &cell) override { playsAnnounced.push_back(cell.card()); }
    void endWithFatalError(std::string_view text) override { fatalErrors.emplace_back(text); }
    void announceDeckReset() override { ++resetsAnnounced; }

    std::vector<Card> shownCells;
    int boardsShown = 0;
    std::vector<std::string> messages;
    std::vector<Card> announced;
    std::vector<Card> playsAnnounced;
    std::vector<std::string> fatalErrors;
    int resetsAnnounced = 0;
    bool cellsCanBeShown = true;
};

PicturePoint centreOf(Card card)
{
    const PixelRect r = cellRect(card);
    return {r.left + r.width / 2.0, r.top + r.height / 2.0};
}

void click(Form1 &form, PicturePoint point, MouseButton button = MouseButton::Left)
{
    form.mousePressed(button, point);
    form.mouseReleased(button, point);
}

TEST(Form1, EachCardsHandlerPlaysThatCardAloneAndShowsAndAnnouncesItsCell)
{
    for (int i = 0; i < kCardCount; ++i) {
        RecordingView view;
        Form1 form(view);
        const Card card = cardAt(i);
        form.activateCard(card);
        Board expected;
        expected.markPlayed(card);
        EXPECT_EQ(form.board(), expected) << cardName(card);
        EXPECT_EQ(view.shownCells, std::vector<Card>{card});
        EXPECT_EQ(view.announced, std::vector<Card>{card});
        EXPECT_EQ(view.playsAnnounced, std::vector<Card>{card});
    }
    // The two eights whose pictures were laid out swapped.
    RecordingView view;
    Form1 form(view);
    form.Image87_Click();
    form.Image86_Click();
    EXPECT_EQ(view.shownCells, (std::vector<Card>{kEightOfHearts, {Rank::Eight, Suit::Spades}}));
}

TEST(Form1, ClicksPlayTheCardUnderThePointToTheFractionOfAPixel)
{
    RecordingView view;
    Form1 form(view);
    click(form, {29.99, 0.0}, MouseButton::Right); // the Ace's last column, at a scale of 2 or more
    click(form, {30.0, 49.5});                     // the gap beside it
    click(form, {31.5, 55.99});                    // the corner where the gaps cross
    click(form, {0.5, std::nan("")});
    click(form, {-0.5, 0.0});
    EXPECT_EQ(view.shownCells, (std::vector<Card>{Card{Rank::Ace, Suit::Clubs}}));

    click(form, centreOf(kEightOfHearts));
    click(form, centreOf(kEightOfHearts)); // a double click: the second lands on the marker
    EXPECT_EQ(view.shownCells.size(), 2U);

    const PicturePoint two = centreOf({Rank::Two, Suit::Clubs});
    form.mousePressed(MouseButton::Left, two);
    form.mouseLost();
    form.mouseReleased(MouseButton::Left, two);
    form.activateCard(kEightOfHearts); // played already: nothing to press
    EXPECT_EQ(view.shownCells.size(), 2U);
}

TEST(Form1, ClicksMarkOnlyTheUnplayedCardUnderThePoint)
{
    struct Step {
        PicturePoint point;
        MouseButton button;
        std::optional<Card> marks;
    };
    const Step steps[] = {
        {{0, 0}, MouseButton::Left, Card{Rank::Ace, Suit::Clubs}},
        {{0, 0}, MouseButton::Left, std::nullopt}, // now a marker
        {{30, 0}, MouseButton::Left, std::nullopt}, // column gap
        {{31, 10}, MouseButton::Right, std::nullopt},
        {{32, 0}, MouseButton::Right, Card{Rank::Two, Suit::Clubs}},
        {{0, 50}, MouseButton::Left, std::nullopt}, // row gap
        {{5, 55}, MouseButton::Right, std::nullopt},
        {{0, 56}, MouseButton::Left, Card{Rank::Ace, Suit::Diamonds}},
        {{413, 217}, MouseButton::Right, Card{Rank::King, Suit::Spades}},
        {{414, 0}, MouseButton::Left, std::nullopt}, // strip on the right
        {{415, 100}, MouseButton::Left, std::nullopt},
        {{200, 218}, MouseButton::Left, std::nullopt}, // strip below
        {{253, 161}, MouseButton::Other, std::nullopt}, // only left and right buttons play a card
        {{253, 161}, MouseButton::Left, kEightOfHearts},
    };
    RecordingView view;
    Form1 form(view);
    Board expected;
    for (const Step &step : steps) {
        click(form, step.point, step.button);
        if (step.marks)
            expected.markPlayed(*step.marks);
        EXPECT_EQ(form.board(), expected) << "click at " << step.point.x << "," << step.point.y;
    }
}

// A click is a press and a release over the same card.
TEST(Form1, PressAndReleaseOnDifferentPlacesMarkNothing)
{
    RecordingView view;
    Form1 form(view);
    const auto pressAndRelease = [&](PicturePoint from, PicturePoint to, MouseButton button) {
        form.mousePressed(button, from);
        form.mouseReleased(button, to);
    };
    pressAndRelease({5, 5}, {40, 5}, MouseButton::Left);
    pressAndRelease({5, 5}, {31, 5}, MouseButton::Right);
    pressAndRelease({31, 5}, {5, 5}, MouseButton::Left);
    EXPECT_EQ(form.board(), Board());
    pressAndRelease({5, 5}, {29, 49}, MouseButton::Left);
    Board expected;
    expected.markPlayed({Rank::Ace, Suit::Clubs});
    EXPECT_EQ(form.board(), expected);
}

TEST(Form1, ResetShowsTheWholeGridAndAnnouncesEveryCardThatChangedThenTheResetOnce)
{
    RecordingView view;
    Form1 form(view);
    form.Reset_Click();
    EXPECT_EQ(view.boardsShown, 1);
    EXPECT_TRUE(view.announced.empty()) << "nothing was played";
    EXPECT_EQ(view.resetsAnnounced, 1) << "the player still hears that Reset ran";

    form.activateCard(kEightOfHearts);
    form.Image56_Click();
    view.announced.clear();
    form.Reset_Click();
    EXPECT_EQ(form.board(), Board());
    EXPECT_EQ(view.announced, (std::vector<Card>{Card{Rank::Ace, Suit::Clubs}, kEightOfHearts}));
    EXPECT_EQ(view.playsAnnounced.size(), 2U) << "a Reset is no play";
    EXPECT_EQ(view.resetsAnnounced, 2);
    form.Image87_Click(); // the same card plays again after Reset
    EXPECT_EQ(form.board().cell(kEightOfHearts).state(), CellState::Played);
}

TEST(Form1, AboutShowsTheThreeCreditLinesAndLeavesTheBoard)
{
    RecordingView view;
    Form1 form(view);
    form.Image56_Click();
    const Board before = form.board();
    form.About_Click();
    EXPECT_EQ(view.messages, std::vector<std::string>{std::string("Created by ") + config::kAuthorName + '\r' +
                                                      config::kAuthorEmail + '\r' + config::kAuthorWebsite});
    EXPECT_EQ(form.board(), before);
}

// The view is asked once to end the program, naming the picture; until it
// does, the window takes no more input.
TEST(Form1, AShowThatFailsIsFatalAndStopsAllInput)
{
    RecordingView view;
    view.cellsCanBeShown = false;
    Form1 form(view);
    form.Image87_Click();
    EXPECT_EQ(view.fatalErrors, std::vector<std::string>{"Velmora has to close because of an error:\n"
                                                         "picture Image36 (8 of Hearts) cannot be shown"});
    click(form, centreOf({Rank::Ace, Suit::Clubs}));
    form.activateCard({Rank::Two, Suit::Clubs});
    form.Reset_Click();
    form.About_Click();
    form.showBoardAgain();
    EXPECT_FALSE(form.runHandler([] {}));
    EXPECT_EQ(view.shownCells.size(), 1U);
    EXPECT_EQ(view.boardsShown, 0);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.fatalErrors.size(), 1U);
}

TEST(Form1, AnErrorInAToolkitsHandlerIsFatalToo)
{
    RecordingView view;
    Form1 form(view);
    EXPECT_TRUE(form.runHandler([] {}));
    EXPECT_FALSE(form.runHandler([] { throw FatalError("the window cannot be painted"); }));
    EXPECT_EQ(view.fatalErrors,
              std::vector<std::string>{"Velmora has to close because of an error:\nthe window cannot be painted"});
}

TEST(CardUnder, FindsPlayedAndUnplayedCardsButNothingInTheGaps)
{
    EXPECT_EQ(cardUnder({413.9, 217.9}), (Card{Rank::King, Suit::Spades}));
    EXPECT_EQ(cardUnder({224.0, 112.0}), kEightOfHearts);
    EXPECT_EQ(cardUnder({30.0, 0.0}), std::nullopt);
    EXPECT_EQ(cardUnder({0.0, 50.0}), std::nullopt);
    EXPECT_EQ(cardUnder({414.0, 0.0}), std::nullopt);
    EXPECT_EQ(cardUnder({0.0, 218.0}), std::nullopt);
}

} // namespace
} // namespace velmora
