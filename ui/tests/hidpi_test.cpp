#include <ui/boardview.h>
#include <ui/mainwindow.h>
#include "input.h"
#include "rendering.h"
#include "windowparts.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Run once per screen setup; VELMORA_EXPECTED_SCALE is the whole-number scale the window must draw at.
int expectedScale() { return qEnvironmentVariableIntValue("VELMORA_EXPECTED_SCALE"); }

TEST(HighDpi, EveryPicturePixelIsASharpSquareBlock)
{
    const int scale = expectedScale();
    ASSERT_GE(scale, 1) << "set VELMORA_EXPECTED_SCALE";

    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.devicePixelRatioF(), scale);

    BoardView *view = test::boardView(window);
    for (QPoint p : {QPoint(0, 0), QPoint(230, 120), QPoint(413, 217)})
        test::click(view, p);
    Board expected;
    expected.markPlayed({Rank::Ace, Suit::Clubs});
    expected.markPlayed({Rank::Eight, Suit::Hearts});
    expected.markPlayed({Rank::King, Suit::Spades});
    ASSERT_EQ(view->board(), expected);
    const QString difference = test::screenDifference(view, expected, scale);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

// A click marks the card drawn under the device pixel clicked, or nothing.
TEST(HighDpi, AClickMarksWhatIsDrawnUnderItsDevicePixel)
{
    const int scale = expectedScale();
    ASSERT_GE(scale, 1) << "set VELMORA_EXPECTED_SCALE";
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    BoardView *view = test::boardView(window);
    for (QPoint pixel : test::edgeDevicePixels(scale)) {
        test::trigger(window, "Reset");
        test::clickThroughWindow(view, QPointF(pixel) / scale);
        Board expected;
        if (auto card = test::cardDrawnAt(expected, pixel, scale))
            expected.markPlayed(*card);
        EXPECT_EQ(view->board(), expected) << "after a click on device pixel " << pixel.x() << "," << pixel.y();
    }
}

// A screen reader finds a card by its place on the screen and clicks the middle
// of it: at a fractional scale that place is where the card is drawn, not where
// it would be at one logical pixel a picture pixel.
TEST(HighDpi, AssistiveTechnologyFindsEveryCardWhereItIsDrawn)
{
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAccessibleInterface *deck = QAccessible::queryAccessibleInterface(test::boardView(window));
    ASSERT_NE(deck, nullptr);
    for (int i = 0; i < kCardCount; ++i) {
        QAccessibleInterface *card = deck->child(i);
        const QPoint middle = card->rect().center();
        EXPECT_EQ(deck->childAt(middle.x(), middle.y()), card) << card->text(QAccessible::Name).toStdString();
        test::clickThroughWindow(test::boardView(window), test::boardView(window)->mapFromGlobal(QPointF(middle)));
        EXPECT_EQ(test::boardView(window)->board().cell(cardAt(i)).state(), CellState::Played)
            << card->text(QAccessible::Name).toStdString() << " is not drawn under the middle of its place";
    }
}

} // namespace
} // namespace velmora
