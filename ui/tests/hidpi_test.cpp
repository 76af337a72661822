#include "boardview.h"
#include "form1.h"
#include "input.h"
#include "rendering.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velmora {
namespace {

// Run once per screen setup; VELMORA_EXPECTED_SCALE is the whole-number scale the window must draw at.
int expectedScale() { return qEnvironmentVariableIntValue("VELMORA_EXPECTED_SCALE"); }

TEST(HighDpi, EveryPicturePixelIsASharpSquareBlock)
{
    const int scale = expectedScale();
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

// Every device pixel across a column gap, across a row gap and across the board's
// top edge under the menu bar: a click marks the card drawn there, or nothing.
TEST(HighDpi, AClickMarksWhatIsDrawnUnderItsDevicePixel)
{
    const int scale = expectedScale();
    ASSERT_GE(scale, 1) << "set VELMORA_EXPECTED_SCALE";
    Form1 window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    std::vector<QPoint> pixels;
    const int middleOfDiamonds = (kRowPitch + kCardHeight / 2) * scale;
    for (int x = kCardWidth * scale - 1; x <= kColumnPitch * scale; ++x)
        pixels.push_back({x, middleOfDiamonds});
    const int middleOfSixes = (5 * kColumnPitch + kCardWidth / 2) * scale;
    for (int y = kCardHeight * scale - 1; y <= kRowPitch * scale; ++y)
        pixels.push_back({middleOfSixes, y});
    for (int y = -scale; y <= 0; ++y)
        pixels.push_back({middleOfSixes, y});

    for (QPoint pixel : pixels) {
        window.resetAction()->trigger();
        test::clickThroughWindow(window.boardView(), QPointF(pixel) / scale);
        Board expected;
        const auto logical = [scale](int device) { return static_cast<int>(std::floor(double(device) / scale)); };
        if (auto card = expected.hitTest(logical(pixel.x()), logical(pixel.y())))
            expected.markPlayed(*card);
        EXPECT_EQ(window.board(), expected) << "after a click on device pixel " << pixel.x() << "," << pixel.y();
    }
}

} // namespace
} // namespace velmora
