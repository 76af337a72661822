// Drives Velmora.exe under Wine in a private X server with real input events, and
// compares what it shows with the pictures pixel for pixel.

#include "wine.h"

#include <ui/tests/rendering.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>

namespace velmora::test {
namespace {

QString velmoraExe;
QString faultyVelmoraExe;
QString accessibilityClientExe;
QString dpiReportExe;

// One Wine prefix for the tests that need nothing special of it.
class SharedPrefix : public testing::Environment {
public:
    void SetUp() override { prefix = std::make_unique<WinePrefix>(); }
    void TearDown() override { prefix.reset(); }

    static inline std::unique_ptr<WinePrefix> prefix;
};

const WinePrefix &sharedPrefix()
{
    return *SharedPrefix::prefix;
}

QString property(const XWindow &window, const QString &name)
{
    return run(QStringLiteral("xprop"), {"-id", window.id(), name});
}

// The client area is the deck's size at this scale, under the menu bar; the frame
// can be moved, minimised and closed, neither resized nor maximised; the icon is
// there in both sizes, grown by the same whole factor. Wine creates the window at
// a default size and the X server may show that before it takes the deck's.
void expectFixedFrameAround(XWindow &window, int scale)
{
    const QSize client(kClientWidth * scale, kClientHeight * scale);
    QSize shown;
    EXPECT_TRUE(waitFor([&] {
        shown = window.screenshot().size();
        return shown - QSize(0, window.clientOrigin().y()) == client;
    })) << "the window is still " << shown.width() << " by " << shown.height() << " with the menu bar "
        << window.clientOrigin().y() << " high, for a client area of " << client.width() << " by "
        << client.height();
    const QString size = QStringLiteral("%1 by %2").arg(shown.width()).arg(shown.height());
    const QString hints = property(window, "WM_NORMAL_HINTS");
    EXPECT_TRUE(hints.contains("minimum size: " + size) && hints.contains("maximum size: " + size))
        << hints.toStdString();
    const QString actions = property(window, "_NET_WM_ALLOWED_ACTIONS");
    for (const char *allowed : {"_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_CLOSE"})
        EXPECT_TRUE(actions.contains(allowed)) << actions.toStdString();
    for (const char *denied : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE"})
        EXPECT_FALSE(actions.contains(denied)) << actions.toStdString();
    const QString icon = property(window, "_NET_WM_ICON");
    for (const int size : {32 * scale, 16 * scale})
        EXPECT_TRUE(icon.contains(QStringLiteral("Icon (%1 x %1)").arg(size)))
            << "no icon of " << size << " pixels";
}

// A fresh prefix whose screen has 192 dpi: Wine takes it from the registry, as
// Windows does from the display settings.
std::unique_ptr<WinePrefix> prefixAt192Dpi()
{
    auto prefix = std::make_unique<WinePrefix>();
    prefix->run({"reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", "192",
                 "/f"});
    // Wine 10 reads the setting when its desktop starts: until then a per-monitor aware
    // window keeps 96 dpi while the system's DPI is already 192. A new server starts a
    // new desktop.
    prefix->stopServer();
    prefix->startServer();
    // Every way of asking, as a per-monitor aware program.
    EXPECT_EQ(prefix->run({dpiReportExe}).remove('\r').section(" menu ", 0, 0),
              "awareness 2 window 192 system 192 monitor 192x192 logpixelsx 192");
    return prefix;
}

// The whole walk, at 96 dpi and at 192, where every picture pixel is a sharp
// square of 2 x 2 and clicks hit what is drawn.
TEST(Wine, ClicksMenusAboutAndCloseWorkWithRealInput)
{
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "at a scale of " << scale);
        std::unique_ptr<WinePrefix> own;
        const WinePrefix &prefix = scale == 1 ? sharedPrefix() : *(own = prefixAt192Dpi());
        WineVelmora velmora(prefix, velmoraExe, {}, scale);
        XWindow &window = velmora.window();
        // Pressed here and released there, each step waits until the program has
        // handled the one before, which it shows by taking the mouse capture and
        // letting it go: on a busy machine a drag sent in one go was once taken as
        // a click where it ended.
        window.afterButton = [&prefix](bool down) {
            const QString capture = down ? "held" : "free";
            EXPECT_EQ(prefix.run({accessibilityClientExe, "--capture", capture}), "capture " + capture);
        };
        window.expectShows(Board());
        expectFixedFrameAround(window, scale);
        ASSERT_NO_FATAL_FAILURE(walkTheDeck(window));
        EXPECT_EQ(velmora.waitForExit(), 0) << velmora.errors().toStdString();
    }
}

TEST(Wine, CommandLineArgumentsChangeNothing)
{
    QImage plain;
    {
        WineVelmora velmora(sharedPrefix(), velmoraExe);
        velmora.window().expectShows(Board());
        plain = velmora.window().screenshot();
    }
    WineVelmora velmora(sharedPrefix(), velmoraExe, {"/?", "-reverse", "C:\\deck.txt", "--help"});
    velmora.window().expectShows(Board());
    velmora.window().expectScreenshot(plain);
}

// A picture that cannot be shown is fatal: a message box names it, then the process fails.
TEST(Wine, AFailingPictureEndsTheProgramAfterSayingSo)
{
    WineVelmora velmora(sharedPrefix(), faultyVelmoraExe);
    ASSERT_NO_FATAL_FAILURE(clickTheFailingPicture(velmora.window()));
    EXPECT_EQ(velmora.waitForExit(), 1);
    EXPECT_TRUE(velmora.errors().contains("Image36")) << velmora.errors().toStdString();
}

// A screen reader's view: 52 check buttons named after their cards, in place, played by their default action.
TEST(Wine, AnAccessibilityClientReadsAndPlaysTheCards)
{
    WineVelmora velmora(sharedPrefix(), velmoraExe);
    velmora.window().click({0, 0});
    Board expected;
    expected.markPlayed({Rank::Ace, Suit::Clubs});
    velmora.window().expectShows(expected);

    const QStringList lines =
        sharedPrefix().run({accessibilityClientExe, "Queen of Hearts", "Ace of Clubs"}).split('\n');
    ASSERT_EQ(lines.size(), 1 + 52 + 2 + 1 + 52) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0].trimmed(), "children 52");
    EXPECT_EQ(lines[53].trimmed(), "played Queen of Hearts: 0x00000000");
    EXPECT_EQ(lines[54].trimmed(), "played Ace of Clubs: 0x80020003") << "a played card has no action";
    const Board before = expected;
    expected.markPlayed({Rank::Queen, Suit::Hearts});
    for (const auto &[first, board] :
         {std::pair{1, &before}, std::pair{56, static_cast<const Board *>(&expected)}}) {
        for (int i = 0; i < kCardCount; ++i) {
            const Card card = cardAt(i);
            const bool played = board->cell(card).state() == CellState::Played;
            const PixelRect r = cellRect(card);
            // Role 44 is a check button; state 17 is checked (16) and unavailable (1).
            const QString line = QStringLiteral("%1|%2|44|%3|%4|%5,%6,%7,%8")
                                     .arg(i + 1)
                                     .arg(QString::fromStdString(cardName(card)))
                                     .arg(played ? 17 : 0)
                                     .arg(played ? "" : "Press")
                                     .arg(r.left)
                                     .arg(r.top)
                                     .arg(r.width)
                                     .arg(r.height);
            EXPECT_EQ(lines[first + i].trimmed(), line);
        }
    }
    velmora.window().expectShows(expected);
}

// The keys of a registry file and the names of their values, one per line. Wine
// itself rewrites some values (the time a driver was installed) on every start.
QString registryNames(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    static const QRegularExpression keyLine(QStringLiteral("^(\\[.*\\])( \\d+)?$"));
    static const QRegularExpression valueLine(QStringLiteral("^(@|\"(?:[^\"\\\\]|\\\\.)*\")="));
    QString key;
    QStringList names;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (const auto k = keyLine.match(line); k.hasMatch()) {
            key = k.captured(1);
            names << key;
        } else if (const auto v = valueLine.match(line); v.hasMatch()) {
            names << key + ' ' + v.captured(1);
        }
    }
    return names.join('\n');
}

// Every file under the folder, by path: a registry file's keys and value names, any
// other file's size and time of last change.
QMap<QString, QString> snapshot(const QString &folder)
{
    QMap<QString, QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        files[QDir(folder).relativeFilePath(file.filePath())] =
            file.suffix() == QLatin1String("reg") ? registryNames(file.filePath())
                                                  : QStringLiteral("%1 bytes, changed %2")
                                                        .arg(file.size())
                                                        .arg(file.lastModified().toMSecsSinceEpoch());
    }
    return files;
}

// Velmora keeps nothing: a whole session leaves the prefix, its registry and the home
// folder as a Windows program that does nothing leaves them.
TEST(Wine, WritesNoFileAndNoRegistryKey)
{
    const WinePrefix prefix;
    // The first start after the prefix was made tidies the device keys: baseline after it.
    for (int round = 0; round < 2; ++round) {
        prefix.stopServer(); // the registry is on disk once the server has gone
        prefix.startServer();
        prefix.run({"cmd", "/c", "exit"});
    }
    prefix.stopServer();
    const QMap<QString, QString> before = snapshot(prefix.path());
    ASSERT_TRUE(before.value("prefix/user.reg").contains("[Control Panel\\\\Desktop]"));

    prefix.startServer();
    {
        WineVelmora velmora(prefix, velmoraExe);
        Board played;
        velmora.window().click({230, 120});
        played.markPlayed({Rank::Eight, Suit::Hearts});
        ASSERT_NO_FATAL_FAILURE(aboutResetAndClose(velmora.window(), played));
        EXPECT_EQ(velmora.waitForExit(), 0);
    }
    prefix.stopServer();
    const QMap<QString, QString> after = snapshot(prefix.path());

    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key())) {
            ADD_FAILURE() << it.key().toStdString() << " was created";
        } else if (!it.key().endsWith(".reg")) {
            EXPECT_EQ(before[it.key()], it.value()) << it.key().toStdString() << " was changed";
        } else {
            const QStringList was = before[it.key()].split('\n');
            for (const QString &name : it.value().split('\n'))
                EXPECT_TRUE(was.contains(name)) << it.key().toStdString() << " gained " << name.toStdString();
        }
    }
}

} // namespace
} // namespace velmora::test

int main(int argc, char **argv)
{
    using namespace velmora::test;
    return runTests(argc, argv, "VELMORA-EXE FAULTY-VELMORA-EXE ACCESSIBILITY-CLIENT-EXE DPI-REPORT-EXE",
                    {&velmoraExe, &faultyVelmoraExe, &accessibilityClientExe, &dpiReportExe},
                    {new XServer, new SharedPrefix}, 4,
                    "build the windows preset first (cmake --preset windows && cmake --build --preset windows)");
}
