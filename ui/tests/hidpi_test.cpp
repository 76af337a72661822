#include "boardview.h"
#include "form1.h"
#include "input.h"
#include "rendering.h"

#include <QTest>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Run once per screen setup; VELMORA_EXPECTED_SCALE is the whole-number scale the window must draw at.
TEST(HighDpi, EveryPicturePixelIsASharpSquareBlock)
{
    const int scale = qEnvironmentVariableIntValue("VELMORA_EXPECTED_SCALE");
    ASSERT_GE(scale, 1) << "set VELMORA_EXPECTED_SCALE";

    Form1 window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.devicePixelRatioF(), scale);

    for (QPoint p : {QPoint(0, 0), QPoint(230, 120), QPoint(413, 217)})
        test::click(window.boardView(), p);
    Board expected;
    expected.markPlayed({Rank::Ace, Suit::Clubs});
    expected.markPlayed({Rank::Eight, Suit::Hearts});
    expected.markPlayed({Rank::King, Suit::Spades});
    ASSERT_EQ(window.board(), expected);

    const QImage shown = window.boardView()->grab().toImage();
    const QRgb background = window.boardView()->palette().color(QPalette::Window).rgb();
    const QString difference = test::firstDifference(shown, test::renderBoard(expected, background, scale));
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

} // namespace
} // namespace velmora
