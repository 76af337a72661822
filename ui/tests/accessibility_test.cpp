// What a screen reader hears of the real program on an X desktop: the cards'
// and the deck's new names over the accessibility bus, after clicks
// and after File > Reset; and what a real one, Orca, says to a blind player.

#include "xsession.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <ostream>

// What Orca said, as gtest shows it.
void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace velmora::test {
namespace {

QString velmoraPath;
QString listenerPath;
QString orcaPath;

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
void reset(XWindow &window)
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
    listener.start(listenerPath, {"6"});
    QStringList lines;
    ASSERT_EQ(waitForLines(listener, lines, 1), QStringList{"ready"});

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The desktop would tell the program that a screen reader runs; here it is told directly.
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    XVelmora velmora(velmoraPath, {}, environment);
    XWindow &window = velmora.window();
    Board expected;
    window.click({230, 120});
    expected.markPlayed({Rank::Eight, Suit::Hearts});
    window.expectShows(expected);
    ASSERT_EQ(waitForLines(listener, lines, 3).mid(1), (QStringList{"Deck", "8 of Hearts, played"}));
    window.click({5, 5});
    window.click({5, 5}); // now a marker: nothing changes, nothing is heard
    ASSERT_EQ(waitForLines(listener, lines, 4).value(3), "Ace of Clubs, played");
    ASSERT_NO_FATAL_FAILURE(reset(window));
    window.expectShows(Board());
    EXPECT_EQ(waitForLines(listener, lines, 7).mid(4),
              (QStringList{"Deck, no card played", "Ace of Clubs", "8 of Hearts"}));
    EXPECT_TRUE(listener.waitForFinished(10'000));
    EXPECT_EQ(listener.exitCode(), 0);
}

// The Orca screen reader with settings, home and log of its own, silent: what
// it says is read from its debug log, one line per utterance as it says it.
class Orca {
public:
    Orca()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(folder, home_.path());
        environment.insert("GSETTINGS_BACKEND", "memory"); // leaves the user's desktop settings alone
        orca_.setProcessEnvironment(environment);
        orca_.setProcessChannelMode(QProcess::ForwardedChannels);
        orca_.setChildProcessModifier(dieWithTheTest);
        orca_.start(orcaPath, {home_.filePath("orca"), log_.fileName()});
    }
    ~Orca()
    {
        orca_.kill();
        orca_.waitForFinished();
        // Orca's log tells why it said what it did.
        if (testing::Test::HasFailure()) {
            home_.setAutoRemove(false);
            ADD_FAILURE() << "Orca's log is kept: " << log_.fileName().toStdString();
        }
    }
    Orca(const Orca &) = delete;
    Orca &operator=(const Orca &) = delete;

    // Waits until Orca says words that start with `start` (or `orStart`) after
    // what it had said when the player last acted; returns what it said up to there.
    QStringList says(const QString &start, const QString &orStart = {})
    {
        QStringList heard;
        waitFor([&] {
            read();
            for (; next_ < said_.size(); ++next_) {
                heard << said_[next_];
                if (said_[next_].startsWith(start) || (!orStart.isEmpty() && said_[next_].startsWith(orStart))) {
                    ++next_;
                    return true;
                }
            }
            return false;
        });
        return heard;
    }
    // A busy Orca 43 takes a click on a card for its own place before it hears
    // the program's events for it.
    void setBusy(bool busy)
    {
        QFile flag(home_.filePath("orca/busy"));
        ASSERT_TRUE(busy ? flag.open(QIODevice::WriteOnly) : flag.remove());
    }
    // What the player does next is heard from here on.
    void listen()
    {
        read();
        next_ = said_.size();
    }

private:
    void read()
    {
        // SPEECH OUTPUT: 'words'{voice}, 'words'[{voice}] or 'words' {voice}
        static const QRegularExpression utterance(QStringLiteral("SPEECH OUTPUT: '(.*)' ?[[{]"));
        if (!log_.isOpen() && !log_.open(QIODevice::ReadOnly))
            return;
        while (log_.canReadLine() || !log_.atEnd()) {
            const QByteArray line = log_.readLine();
            if (!line.endsWith('\n')) { // Orca is still writing it
                log_.seek(log_.pos() - line.size());
                return;
            }
            const QRegularExpressionMatch match = utterance.match(QString::fromUtf8(line));
            if (match.hasMatch())
                said_ << match.captured(1);
        }
    }

    QTemporaryDir home_;
    QFile log_{home_.filePath("speech.log")};
    QProcess orca_;
    QStringList said_;
    qsizetype next_ = 0;
};

// The last words heard; none when nothing was.
QString lastOf(const QStringList &heard) { return heard.value(heard.size() - 1); }

// Orca says a card just played by its new name ("8 of Hearts, played"), then
// the role it gives a picture.
void expectPlaySpoken(Orca &orca, const QString &card)
{
    const QString played = card + ", played";
    EXPECT_TRUE(lastOf(orca.says(played)).startsWith(played)) << "nothing said " << played.toStdString();
}

// Opens a menu by its access key as a person does: Alt is held down until the
// reader has said the menu's first item. Now and then, on a busy machine, the
// menu closes as soon as it opens (the window's activation flickers while the
// accessibility bus passes the key on) and the reader is back on the deck: then
// the person tries again. Returns what the reader said.
QStringList openMenu(Orca &orca, const QString &key, const QString &firstItem)
{
    QStringList heard;
    for (int attempt = 0; attempt < 3 && !lastOf(heard).startsWith(firstItem); ++attempt) {
        xdotool({"keydown", "alt"});
        xdotool({"key", key});
        heard << orca.says(firstItem, "Deck");
        xdotool({"keyup", "alt"});
    }
    return heard;
}

// "Where am I" names the deck.
bool isDeck(const QString &spoken)
{
    return spoken.startsWith("Deck");
}

// Orca says the deck by its name, which says that no card is played ("Deck, no
// card played panel."), or first the announcement of a Reset ("Deck reset, no
// card played").
void expectWholeDeckSpoken(Orca &orca)
{
    const QString deck = lastOf(orca.says("Deck"));
    EXPECT_TRUE(isDeck(deck) && deck.contains("no card played")) << deck.toStdString();
}

// Orca's own keys on the desktop layout: flat review's next item (KP_6) and a
// click on it (KP_Divide), and "where am I" (KP_Enter). Each step waits for what
// Orca says of the one before, as a player listens before going on.
TEST(Accessibility, OrcaSpeaksEveryPlayAndResetAndStaysInTheWindow)
{
    Orca orca;
    ASSERT_FALSE(orca.says("Screen reader on").isEmpty()) << "Orca did not start";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    XVelmora velmora(velmoraPath, {}, environment);
    XWindow &window = velmora.window();
    // Entering the window, the player hears where the reader is.
    expectWholeDeckSpoken(orca);

    orca.listen();
    window.click({230, 120});
    expectPlaySpoken(orca, "8 of Hearts");

    // Flat review goes on from the card just played to the next card in its row,
    // one stop a card. KP_Right is KP_6 with Num Lock off, as it is here.
    xdotool({"key", "KP_Right"});
    ASSERT_EQ(orca.says("").value(0), "9 of Hearts");
    orca.listen();
    xdotool({"key", "KP_Divide"});
    expectPlaySpoken(orca, "9 of Hearts");

    // A sighted player's click is heard even by a reader too busy to follow it.
    orca.listen();
    orca.setBusy(true);
    window.click({294, 120});
    expectPlaySpoken(orca, "10 of Hearts");
    orca.setBusy(false);
    Board expected;
    for (Rank rank : {Rank::Eight, Rank::Nine, Rank::Ten})
        expected.markPlayed({rank, Suit::Hearts});
    window.expectShows(expected);

    // File > Reset by its access keys, each once the reader has said what it opened.
    orca.listen();
    const QStringList file = openMenu(orca, "f", "Reset");
    ASSERT_EQ(lastOf(file), "Reset.") << "the File menu did not open: " << file.join(" | ").toStdString();
    xdotool({"key", "r"});
    expectWholeDeckSpoken(orca);
    window.expectShows(Board());
    orca.listen();
    xdotool({"key", "KP_Enter"});
    EXPECT_TRUE(isDeck(orca.says("").value(0))) << "where am I, after File > Reset";

    // Help > About..., OK: the reader comes back to the deck, not to the menu.
    orca.listen();
    const QStringList help = openMenu(orca, "h", "About");
    ASSERT_EQ(lastOf(help), "About...") << "the Help menu did not open: " << help.join(" | ").toStdString();
    xdotool({"key", "a"});
    const QString ok = lastOf(orca.says("OK"));
    ASSERT_TRUE(ok.startsWith("OK") && ok.contains("button")) << "the About box did not open: " << ok.toStdString();
    xdotool({"key", "Return"});
    const QStringList back = orca.says("Deck");
    EXPECT_TRUE(isDeck(lastOf(back))) << "after the About box: " << back.join(" | ").toStdString();
    orca.listen();
    xdotool({"key", "KP_Enter"});
    EXPECT_TRUE(isDeck(orca.says("").value(0))) << "where am I, after the About box";
}

} // namespace
} // namespace velmora::test

int main(int argc, char **argv)
{
    using namespace velmora::test;
    return runTests(argc, argv, "VELMORA ATSPI-LISTENER SILENT-ORCA", {&velmoraPath, &listenerPath, &orcaPath},
                    {new XServer});
}
