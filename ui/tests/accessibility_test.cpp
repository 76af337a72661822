// What a screen reader hears of the real program on an X desktop: the
// state-changed events of the cards over the accessibility bus, after clicks
// and after File > Reset.

#include "xsession.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QString velmoraPath;
QString listenerPath;

// The listener's lines, read until there are `count` of them; its Python start
// is slow on a busy machine, hence the longer patience.
QStringList waitForLines(QProcess &listener, QStringList &lines, int count)
{
    waitFor(
        [&] {
            listener.waitForReadyRead(0);
            while (listener.canReadLine())
                lines << QString::fromUtf8(listener.readLine()).trimmed();
            return lines.size() >= count;
        },
        2 * kPatience);
    return lines;
}

// File > Reset with the mouse: the menu bar's File above the deck, then Reset
// once its menu has opened over the deck's top-left corner.
void reset(DeckWindow &window)
{
    const QImage closed = window.clientArea();
    window.click({12, -8});
    QImage shown;
    ASSERT_TRUE(waitFor([&] { return (shown = window.clientArea()) != closed; }))
        << "File's menu did not open over the deck; the last picture was " << describeShot(shown).toStdString();
    window.click({20, 8});
}

TEST(Accessibility, AScreenReaderHearsEveryCardChangeAfterClicksAndReset)
{
    QProcess listener;
    listener.setChildProcessModifier(dieWithTheTest);
    listener.start(listenerPath, {"4"});
    QStringList lines;
    ASSERT_EQ(waitForLines(listener, lines, 1), QStringList{"ready"});

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The desktop would tell the program that a screen reader runs; here it is told directly.
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    Program velmora(velmoraPath, {}, environment);
    DeckWindow window(waitForVelmoraWindows(1).value(0), 1);
    Board expected;
    window.click({230, 120});
    expected.markPlayed({Rank::Eight, Suit::Hearts});
    window.expectShows(expected);
    ASSERT_EQ(waitForLines(listener, lines, 2).value(1), "8 of Hearts checked");
    window.click({5, 5});
    window.click({5, 5}); // now a marker: nothing changes, nothing is heard
    ASSERT_EQ(waitForLines(listener, lines, 3).value(2), "Ace of Clubs checked");
    ASSERT_NO_FATAL_FAILURE(reset(window));
    window.expectShows(Board());
    EXPECT_EQ(waitForLines(listener, lines, 5),
              (QStringList{"ready", "8 of Hearts checked", "Ace of Clubs checked", "Ace of Clubs unchecked",
                           "8 of Hearts unchecked"}));
    EXPECT_TRUE(listener.waitForFinished(10'000));
    EXPECT_EQ(listener.exitCode(), 0);
}

} // namespace
} // namespace velmora::test

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: accessibility_test VELMORA ATSPI-LISTENER\n");
        return 2;
    }
    velmora::test::velmoraPath = QString::fromLocal8Bit(argv[1]);
    velmora::test::listenerPath = QString::fromLocal8Bit(argv[2]);
    testing::AddGlobalTestEnvironment(new velmora::test::XServer);
    return RUN_ALL_TESTS();
}
