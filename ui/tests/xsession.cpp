#include "xsession.h"

#include <ui/tests/rendering.h>

#include <pictures/pictures.h>

#include <QDeadlineTimer>
#include <QThread>

namespace velmora::test {

QString xdotool(const QStringList &args)
{
    return run(QStringLiteral("xdotool"), args);
}

void XServer::SetUp()
{
    ASSERT_TRUE(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Xvfb writes the display number it chose to the given descriptor (standard output here).
    xvfb_.start(QStringLiteral("Xvfb"),
                {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(xvfb_.waitForReadyRead(20000)) << "Xvfb did not start";
    qputenv("DISPLAY", ":" + xvfb_.readLine().trimmed());
    // Without a window manager, Wine takes seconds to hide a window.
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.setStandardErrorFile(QProcess::nullDevice());
    windowManager_.start(QStringLiteral("openbox"), {"--sm-disable"});
    ASSERT_TRUE(windowManager_.waitForStarted());
    ASSERT_TRUE(bus_.start()) << "dbus-daemon did not start";
    QThread::msleep(500);
}

void XServer::TearDown()
{
    bus_.stop();
    windowManager_.kill();
    windowManager_.waitForFinished();
    xvfb_.terminate();
    xvfb_.waitForFinished();
}

QStringList visibleWindows(const QString &name)
{
    return xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"}).split('\n', Qt::SkipEmptyParts);
}

QStringList waitForVelmoraWindows(int count, const QString &main)
{
    QDeadlineTimer deadline(20000);
    QStringList found;
    while (!deadline.hasExpired()) {
        found = visibleWindows(QStringLiteral("Velmora"));
        if (found.size() == count) {
            if (found.removeAll(main) > 0)
                found.prepend(main);
            return found;
        }
        QThread::msleep(50);
    }
    ADD_FAILURE() << "expected " << count << " windows, found " << found.size();
    return found;
}

QImage DeckWindow::screenshot() const
{
    QProcess p;
    p.start(QStringLiteral("import"), {"-window", id_, "png:-"});
    p.waitForFinished(20000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

QPoint DeckWindow::clientOrigin()
{
    if (!origin_)
        origin_ = findClientArea(screenshot(), 0, scale_);
    if (!origin_)
        ADD_FAILURE() << "the Ace of Clubs is not at the window's left edge";
    return origin_.value_or(QPoint());
}

QImage DeckWindow::clientArea()
{
    const QPoint origin = clientOrigin();
    return screenshot().copy(origin.x(), origin.y(), kClientWidth * scale_, kClientHeight * scale_);
}

void DeckWindow::expectShows(const Board &board)
{
    const QString difference = waitUntilShown([this] { return clientArea(); }, board, scale_);
    EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
}

QPoint DeckWindow::toScreen(QPoint point)
{
    return clientOrigin() + point * scale_ + QPoint(scale_ / 2, scale_ / 2);
}

void DeckWindow::click(QPoint point, int button, int repeat)
{
    const QPoint p = toScreen(point);
    xdotool({"mousemove", "--window", id_, QString::number(p.x()), QString::number(p.y()), "click",
             "--repeat", QString::number(repeat), QString::number(button)});
}

void DeckWindow::clickDevicePixel(QPoint pixel, int button)
{
    const QPoint p = clientOrigin() + pixel;
    xdotool({"mousemove", "--window", id_, QString::number(p.x()), QString::number(p.y()), "click",
             QString::number(button)});
}

void DeckWindow::drag(QPoint from, QPoint to, int button)
{
    const QPoint a = toScreen(from);
    const QPoint b = toScreen(to);
    xdotool({"mousemove", "--window", id_, QString::number(a.x()), QString::number(a.y()), "mousedown",
             QString::number(button), "mousemove", "--window", id_, QString::number(b.x()),
             QString::number(b.y()), "mouseup", QString::number(button)});
}

void DeckWindow::keys(const QStringList &keys)
{
    xdotool({"windowactivate", "--sync", id_});
    for (const QString &key : keys) {
        xdotool({"key", "--clearmodifiers", key});
        QThread::msleep(150);
    }
}

void clickAroundTheGrid(DeckWindow &window, Board &expected)
{
    struct Click {
        QPoint point;
        int button;
        int repeat;
    };
    const Click clicks[] = {
        {{0, 0}, 1, 1},     {{30, 0}, 1, 1},    {{31, 20}, 3, 1},  {{32, 0}, 3, 1},    {{0, 52}, 1, 1},
        {{240, 130}, 1, 2}, {{413, 217}, 3, 1}, {{415, 10}, 1, 1}, {{100, 218}, 1, 1}, {{0, 0}, 3, 1},
    };
    for (const Click &c : clicks) {
        window.click(c.point, c.button, c.repeat);
        if (auto card = expected.hitTest(c.point.x(), c.point.y()))
            expected.markPlayed(*card);
        SCOPED_TRACE(testing::Message() << "after a click at " << c.point.x() << "," << c.point.y());
        window.expectShows(expected);
    }
}

} // namespace velmora::test
