// Drives the real program in a real X server with real input events, and
// compares what it shows with the pictures pixel for pixel.

#include "rendering.h"

#include <pictures.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace velmora {
namespace {

QString programPath;
QString faultyProgramPath;

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000))
        ADD_FAILURE() << program.toStdString() << " did not finish";
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList &args) { return run(QStringLiteral("xdotool"), args); }

// A private X server with a window manager, for the whole test run.
class XServer : public testing::Environment {
public:
    void SetUp() override
    {
        xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Xvfb writes the display number it chose to the given descriptor (standard output here).
        xvfb_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        ASSERT_TRUE(xvfb_.waitForReadyRead(20000)) << "Xvfb did not start";
        const QByteArray display = ":" + xvfb_.readLine().trimmed();
        qputenv("DISPLAY", display);
        windowManager_.start(QStringLiteral("openbox"), {"--sm-disable"});
        ASSERT_TRUE(windowManager_.waitForStarted());
        QThread::msleep(500);
    }

    void TearDown() override
    {
        windowManager_.kill();
        windowManager_.waitForFinished();
        xvfb_.terminate();
        xvfb_.waitForFinished();
    }

private:
    QProcess xvfb_;
    QProcess windowManager_;
};

// One running copy of a Velmora program and its window.
class Velmora {
public:
    explicit Velmora(const QString &program, const QStringList &args = {})
    {
        process_.start(program, args);
        EXPECT_TRUE(process_.waitForStarted());
        window_ = waitForWindows(1).value(0);
    }

    ~Velmora()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    QString window() const { return window_; }
    QProcess &process() { return process_; }

    // The program's visible top-level windows named "Velmora", main window first.
    QStringList windows() const
    {
        QStringList found = xdotool({"search", "--onlyvisible", "--pid", QString::number(process_.processId()),
                                     "--name", "^Velmora$"})
                                .split('\n', Qt::SkipEmptyParts);
        if (found.removeAll(window_) > 0)
            found.prepend(window_);
        return found;
    }

    QStringList waitForWindows(int count) const
    {
        QDeadlineTimer deadline(10000);
        QStringList found;
        while (!deadline.hasExpired()) {
            found = windows();
            if (found.size() == count)
                return found;
            QThread::msleep(50);
        }
        ADD_FAILURE() << "expected " << count << " windows, found " << found.size();
        return found;
    }

    QImage screenshot(const QString &window) const
    {
        return QImage::fromData(
            [&] {
                QProcess p;
                p.start(QStringLiteral("import"), {"-window", window, "png:-"});
                p.waitForFinished(20000);
                return p.readAllStandardOutput();
            }(),
            "PNG");
    }

    // Where the client area starts inside the window: the Ace of Clubs sits at its top-left corner.
    QPoint clientOrigin()
    {
        if (origin_)
            return *origin_;
        const QImage ace = test::pictureImage(cardPicture(Rank::Ace, Suit::Clubs));
        const QImage shot = screenshot(window_).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y + ace.height() <= shot.height(); ++y) {
            if (test::firstDifference(shot.copy(0, y, ace.width(), ace.height()), ace).isEmpty()) {
                origin_ = QPoint(0, y);
                return *origin_;
            }
        }
        ADD_FAILURE() << "the Ace of Clubs is not at the window's left edge";
        return {};
    }

    QImage clientArea()
    {
        const QPoint origin = clientOrigin();
        return screenshot(window_).copy(origin.x(), origin.y(), kClientWidth, kClientHeight);
    }

    // Waits for the repaint, then requires the client area to be exactly this board.
    void expectShows(const Board &board)
    {
        QImage shown;
        QString difference;
        QDeadlineTimer deadline(5000);
        do {
            shown = clientArea();
            // The gap right of the Ace of Clubs is background.
            const QImage expected = test::renderBoard(board, shown.pixel(30, 0));
            difference = test::firstDifference(shown, expected);
            if (difference.isEmpty())
                return;
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        ADD_FAILURE() << difference.toStdString();
    }

    void click(QPoint client, int button = 1, int repeat = 1)
    {
        const QPoint p = clientOrigin() + client;
        xdotool({"mousemove", "--window", window_, QString::number(p.x()), QString::number(p.y()), "click",
                 "--repeat", QString::number(repeat), QString::number(button)});
    }

    void keys(const QStringList &keys)
    {
        xdotool({"windowactivate", "--sync", window_});
        for (const QString &key : keys) {
            xdotool({"key", "--clearmodifiers", key});
            QThread::msleep(150);
        }
    }

    int waitForExit()
    {
        EXPECT_TRUE(process_.waitForFinished(10000)) << "the program did not end";
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QProcess process_;
    QString window_;
    std::optional<QPoint> origin_;
};

TEST(EndToEnd, ClicksMenusAboutAndCloseWorkWithRealInput)
{
    Velmora velmora(programPath);
    Board expected;
    velmora.expectShows(expected);

    struct Click {
        QPoint point;
        int button;
        int repeat;
    };
    const Click clicks[] = {
        {{0, 0}, 1, 1},     {{30, 0}, 1, 1},   {{31, 20}, 3, 1}, {{32, 0}, 3, 1}, {{0, 52}, 1, 1},
        {{240, 130}, 1, 2}, {{413, 217}, 3, 1}, {{415, 10}, 1, 1}, {{100, 218}, 1, 1}, {{0, 0}, 3, 1},
    };
    for (const Click &c : clicks) {
        velmora.click(c.point, c.button, c.repeat);
        if (auto card = expected.hitTest(c.point.x(), c.point.y()))
            expected.markPlayed(*card);
        SCOPED_TRACE(testing::Message() << "after a click at " << c.point.x() << "," << c.point.y());
        velmora.expectShows(expected);
    }

    // Help > About... by its access keys, dismissed with Return: the marks stay.
    velmora.keys({"alt+h", "a"});
    const QStringList withBox = velmora.waitForWindows(2);
    ASSERT_EQ(withBox.size(), 2);
    EXPECT_EQ(xdotool({"getwindowname", withBox[1]}), "Velmora");
    velmora.click({300, 30}); // the box is modal: the window takes no clicks
    xdotool({"windowactivate", "--sync", withBox[1]});
    xdotool({"key", "Return"});
    velmora.waitForWindows(1);
    velmora.expectShows(expected);

    // File > Reset by its access keys.
    velmora.keys({"alt+f", "r"});
    velmora.expectShows(Board());

    velmora.keys({"alt+F4"});
    EXPECT_EQ(velmora.waitForExit(), 0);
}

TEST(EndToEnd, CommandLineArgumentsChangeNothing)
{
    QImage plain;
    {
        Velmora velmora(programPath);
        velmora.expectShows(Board());
        plain = velmora.screenshot(velmora.window());
    }
    Velmora velmora(programPath, {"-reverse", "-style", "Windows", "--help", "-platform", "offscreen"});
    velmora.expectShows(Board());
    const QString difference = test::firstDifference(velmora.screenshot(velmora.window()), plain);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

// A picture that cannot be shown is fatal: a message box names it, then the process fails.
TEST(EndToEnd, AFailingPictureEndsTheProgramAfterSayingSo)
{
    Velmora velmora(faultyProgramPath);
    velmora.click({230, 120});
    const QStringList withBox = velmora.waitForWindows(2);
    ASSERT_EQ(withBox.size(), 2);
    xdotool({"windowactivate", "--sync", withBox[1]});
    xdotool({"key", "Return"});
    EXPECT_NE(velmora.waitForExit(), 0);
    const QString errors = QString::fromLocal8Bit(velmora.process().readAllStandardError());
    EXPECT_TRUE(errors.contains("Image36")) << errors.toStdString();
}

} // namespace
} // namespace velmora

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: e2e_test VELMORA FAULTY-VELMORA\n");
        return 2;
    }
    velmora::programPath = QString::fromLocal8Bit(argv[1]);
    velmora::faultyProgramPath = QString::fromLocal8Bit(argv[2]);
    testing::AddGlobalTestEnvironment(new velmora::XServer);
    return RUN_ALL_TESTS();
}
