#include <ui/boardview.h>
#include <window/about.h>
#include <ui/mainwindow.h>
#include "input.h"
#include "windowparts.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace velmora {
namespace {

constexpr Card kEightOfHearts{Rank::Eight, Suit::Hearts};

} // namespace

// Failure messages list the played cards instead of the board's bytes.
void PrintTo(const Board &board, std::ostream *out)
{
    *out << "played:";
    for (const CardCell &c : board.cells())
        if (c.state() == CellState::Played)
            *out << " [" << cardName(c.card()) << "]";
}

namespace {

// Collects the regions the board view is asked to repaint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

class WindowTest : public testing::Test {
protected:
    WindowTest()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    BoardView *view() const { return test::boardView(window); }

    // The window shows exactly the board the model holds, and the model matches `expected`.
    void expectShows(const Board &expected) const
    {
        EXPECT_EQ(view()->board(), expected);
        const QString difference = test::screenDifference(view(), expected);
        EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
    }

    void click(QPoint point, Qt::MouseButton button = Qt::LeftButton) { test::click(view(), point, button); }

    MainWindow window;
};

TEST_F(WindowTest, OpensWithTheFullDeckAndTheFixedFrame)
{
    expectShows(Board());
    EXPECT_EQ(window.windowTitle(), "Velmora");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(view()->size(), QSize(416, 219));
    EXPECT_EQ(view()->geometry().topLeft(), QPoint(0, window.menuBar()->geometry().bottom() + 1));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the frame cannot be resized";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(view()->focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowTest, MenuBarHoldsFileResetAndHelpAboutOnly)
{
    const QList<QAction *> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    const std::pair<const char *, const char *> expected[] = {{"&File", "&Reset"}, {"&Help", "&About..."}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(menus[i]->text(), expected[i].first);
        ASSERT_TRUE(menus[i]->menu());
        const QList<QAction *> items = menus[i]->menu()->actions();
        ASSERT_EQ(items.size(), 1);
        EXPECT_EQ(items[0]->text(), expected[i].second);
        EXPECT_TRUE(items[0]->shortcut().isEmpty()) << "no shortcut keys";
        EXPECT_TRUE(items[0]->isEnabled());
        EXPECT_FALSE(items[0]->isCheckable());
    }
}

// Another window took the mouse mid-press: the release plays nothing.
TEST_F(WindowTest, LosingTheMouseDuringAPressCancelsTheClick)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    test::press(view(), QPoint(5, 5), Qt::LeftButton);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    test::release(view(), QPoint(5, 5), Qt::LeftButton);
    expectShows(Board());
}

TEST_F(WindowTest, ClickRepaintsOnlyThatCell)
{
    QApplication::processEvents();
    PaintRecorder recorder(view());
    click(QPoint(230, 120));
    QApplication::processEvents();
    EXPECT_EQ(recorder.painted, QRegion(224, 112, 30, 50));
}

TEST_F(WindowTest, ResetShowsTheWholeDeckAgainAndCardsPlayAgain)
{
    test::trigger(window, "Reset");
    expectShows(Board());

    for (int x = 0; x < 416; x += 16)
        for (int y = 0; y < 219; y += 28)
            click(QPoint(x, y));
    EXPECT_NE(view()->board(), Board());

    PaintRecorder recorder(view());
    test::trigger(window, "Reset");
    QApplication::processEvents();
    expectShows(Board());
    EXPECT_TRUE(recorder.painted.contains(QRect(0, 0, 414, 218)));

    click(QPoint(230, 120));
    Board expected;
    expected.markPlayed(kEightOfHearts);
    expectShows(expected);
}

TEST_F(WindowTest, AboutShowsAModalCreditBoxAndLeavesTheBoardAlone)
{
    click(QPoint(230, 120));
    Board expected;
    expected.markPlayed(kEightOfHearts);

    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        inspected = true;
        EXPECT_EQ(box->windowTitle(), "Velmora");
        EXPECT_TRUE(box->isModal());
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Ok);
        EXPECT_EQ(box->text().toStdString(), withLineBreaks(aboutText(), "\n")) << "three lines, one under the other";
        QTest::keyClick(box, Qt::Key_Return);
    });
    test::trigger(window, "About");
    EXPECT_TRUE(inspected);
    EXPECT_FALSE(QApplication::activeModalWidget());
    expectShows(expected);
}

TEST_F(WindowTest, TheDeckAndEveryCardAreNamedWithTheirStateAndCardsHaveAPressAction)
{
    QAccessibleInterface *deck = QAccessible::queryAccessibleInterface(view());
    ASSERT_TRUE(deck);
    ASSERT_EQ(deck->childCount(), 52);
    QAccessibleInterface *queen = nullptr;
    for (int i = 0; i < deck->childCount(); ++i) {
        QAccessibleInterface *card = deck->child(i);
        ASSERT_TRUE(card);
        EXPECT_EQ(deck->indexOfChild(card), i);
        EXPECT_EQ(card->parent(), deck);
        if (card->text(QAccessible::Name) == "Queen of Hearts")
            queen = card;
    }
    ASSERT_TRUE(queen);
    EXPECT_EQ(queen->role(), QAccessible::Graphic);
    EXPECT_EQ(deck->text(QAccessible::Name), "Deck, no card played");
    EXPECT_EQ(queen->rect().size(), QSize(30, 50));
    EXPECT_EQ(deck->childAt(queen->rect().center().x(), queen->rect().center().y()), queen);

    QAccessibleActionInterface *actions = queen->actionInterface();
    ASSERT_TRUE(actions);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());

    Board expected;
    expected.markPlayed({Rank::Queen, Suit::Hearts});
    expectShows(expected);
    EXPECT_EQ(queen->text(QAccessible::Name), "Queen of Hearts, played");
    EXPECT_EQ(deck->text(QAccessible::Name), "Deck");
    EXPECT_TRUE(actions->actionNames().isEmpty()) << "a covered card cannot be pressed again";

    test::trigger(window, "Reset");
    EXPECT_EQ(queen->text(QAccessible::Name), "Queen of Hearts");
    EXPECT_EQ(deck->text(QAccessible::Name), "Deck, no card played");
}

} // namespace
} // namespace velmora
