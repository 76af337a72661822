#include "deckwindow.h"

#include "endtoend.h"
#include "rendering.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::test {

void DeckWindow::clickDevicePixel(QPoint pixel, int button, int repeat)
{
    for (int i = 0; i < repeat; ++i) {
        press(pixel, button);
        release(pixel, button);
    }
}

bool DeckWindow::accessKeys(const QString &menu, const QString &item, const std::function<bool()> &done)
{
    keys({"alt+" + menu, item});
    return waitFor(done);
}

QString DeckWindow::differenceFrom(const Board &board, QImage &shown)
{
    shown = clientArea();
    // The gap right of the Ace of Clubs is background.
    return shown.width() <= kCardWidth * scale_
               ? QStringLiteral("no picture of the client area")
               : firstDifference(shown, renderBoard(board, shown.pixel(kCardWidth * scale_, 0), scale_));
}

bool DeckWindow::shows(const Board &board)
{
    QImage shown;
    return differenceFrom(board, shown).isEmpty();
}

void DeckWindow::expectShows(const Board &board)
{
    QImage shown;
    QString difference;
    if (!waitFor([&] { return (difference = differenceFrom(board, shown)).isEmpty(); }))
        ADD_FAILURE() << difference.toStdString() << "; the last picture was " << describeShot(shown).toStdString();
}

QStringList DeckWindow::waitForWindows(int count)
{
    QStringList found;
    if (!waitFor([&] { return (found = windows()).size() == count; }))
        ADD_FAILURE() << "expected " << count << " windows named Velmora, still found " << found.size() << ": "
                      << found.join(' ').toStdString();
    return found;
}

namespace {

// Clicks every device pixel of edgeDevicePixels: first those in the gaps, none of
// which may mark a card, then the Queen of Hearts, to show that they have all been
// handled, then those on the cards' edges, with the left and right buttons in turn.
void clickGapsThenEdges(DeckWindow &window, Board &expected)
{
    const int scale = window.scale();
    std::vector<QPoint> edges;
    for (QPoint pixel : edgeDevicePixels(scale)) {
        if (cardDrawnAt(expected, pixel, scale))
            edges.push_back(pixel);
        else
            window.clickDevicePixel(pixel);
    }
    window.click({11 * kColumnPitch + kCardWidth / 2, 2 * kRowPitch + kCardHeight / 2}, 3);
    expected.markPlayed({Rank::Queen, Suit::Hearts});
    {
        SCOPED_TRACE("after clicks in the gaps");
        window.expectShows(expected);
    }
    int button = 1;
    for (QPoint pixel : edges) {
        window.clickDevicePixel(pixel, button);
        if (auto card = cardDrawnAt(expected, pixel, scale))
            expected.markPlayed(*card);
        button = 4 - button;
    }
    SCOPED_TRACE("after clicks on the cards' edges");
    window.expectShows(expected);
}

// The corners, the gaps and the strips beside the grid, with both buttons, the
// middle one (which plays nothing), a double-click and on a played card, checking the board after each click that
// marks a card.
void clickAroundTheGrid(DeckWindow &window, Board &expected)
{
    struct Click {
        QPoint point;
        int button;
        int repeat;
    };
    // A click that must change nothing is judged by the board shown after a later
    // click that changes something, so the list ends with one of those.
    const Click clicks[] = {
        {{0, 0}, 1, 1},    {{0, 0}, 3, 1},     {{30, 0}, 1, 1},    {{31, 20}, 3, 1},   {{32, 0}, 3, 1},
        {{0, 52}, 1, 1},   {{240, 130}, 1, 2}, {{415, 10}, 1, 1},  {{100, 218}, 1, 1}, {{253, 217}, 2, 1},
        {{413, 217}, 3, 1},
    };
    for (const Click &c : clicks) {
        window.click(c.point, c.button, c.repeat);
        const auto card = expected.hitTest(c.point.x(), c.point.y());
        if (!card || c.button == 2)
            continue;
        expected.markPlayed(*card);
        SCOPED_TRACE(testing::Message() << "after a click at " << c.point.x() << "," << c.point.y());
        window.expectShows(expected);
    }
}

void drag(DeckWindow &window, QPoint from, QPoint to, int button = 1)
{
    window.press(window.devicePixel(from), button);
    window.release(window.devicePixel(to), button);
}

} // namespace

void walkTheDeck(DeckWindow &window)
{
    Board expected;
    window.expectShows(expected);
    clickGapsThenEdges(window, expected);
    clickAroundTheGrid(window, expected);

    // Pressed on one card and released on another, with either button, either way:
    // nothing, as the board shows once the drag after them has marked its card.
    drag(window, {100, 10}, {140, 10});
    drag(window, {100, 10}, {131, 10}, 3);
    drag(window, {130, 10}, {100, 10});
    drag(window, {130, 10}, {-1, 10}); // released outside the window
    // Still over the same card, however far the pointer went in between.
    drag(window, {100, 10}, {102, 40});
    expected.markPlayed({Rank::Four, Suit::Clubs});
    window.expectShows(expected);

    // Keys do nothing but open the menus; the click after them shows they have been handled.
    window.keys({"space", "Return", "KP_Enter", "r", "Delete", "BackSpace", "Right", "Down", "Tab", "z", "ctrl+z"});
    window.click({200, 10});
    expected.markPlayed({Rank::Seven, Suit::Clubs});
    window.expectShows(expected);

    aboutResetAndClose(window, expected);
}

void aboutResetAndClose(DeckWindow &window, const Board &expected)
{
    ASSERT_TRUE(window.accessKeys("h", "a", [&] { return window.windows().size() == 2; })) << "no About box";
    const QStringList withBox = window.waitForWindows(2);
    ASSERT_EQ(withBox.size(), 2);
    // The box is modal: the window takes no click, even on a card in its first column, clear of the box.
    window.click({kCardWidth / 2, 2 * kRowPitch + kCardHeight / 2});
    window.answer(withBox[1]);
    window.waitForWindows(1);
    {
        SCOPED_TRACE("after the About box");
        window.expectShows(expected);
    }

    EXPECT_TRUE(window.accessKeys("f", "r", [&] { return window.shows(Board()); }))
        << "File > Reset by its keys did not reset";
    window.click({0, 0});
    window.close();
}

void clickTheFailingPicture(DeckWindow &window)
{
    window.click({230, 120});
    const QStringList withBox = window.waitForWindows(2);
    ASSERT_EQ(withBox.size(), 2);
    window.answer(withBox[1]);
}

} // namespace velmora::test
