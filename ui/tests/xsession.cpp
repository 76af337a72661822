#include "xsession.h"

#include <rendering.h>

#include <pictures.h>

#include <QDeadlineTimer>
#include <QThread>

namespace velmora::test {

QString run(const QString &program, const QStringList &args, const QProcessEnvironment &environment)
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(60000))
        ADD_FAILURE() << program.toStdString() << " did not finish";
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList &args)
{
    return run(QStringLiteral("xdotool"), args);
}

void XServer::SetUp()
{
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
    QThread::msleep(500);
}

void XServer::TearDown()
{
    windowManager_.kill();
    windowManager_.waitForFinished();
    xvfb_.terminate();
    xvfb_.waitForFinished();
}

QStringList visibleWindows(const QString &name)
{
    return xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"}).split('\n', Qt::SkipEmptyParts);
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
    if (origin_)
        return *origin_;
    const QImage ace =
        test::renderBoard(Board(), 0, scale_).copy(0, 0, kCardWidth * scale_, kCardHeight * scale_);
    const QImage shot = screenshot();
    for (int y = 0; y + ace.height() <= shot.height(); ++y) {
        if (test::firstDifference(shot.copy(0, y, ace.width(), ace.height()), ace).isEmpty()) {
            origin_ = QPoint(0, y);
            return *origin_;
        }
    }
    ADD_FAILURE() << "the Ace of Clubs is not at the window's left edge";
    return {};
}

QImage DeckWindow::clientArea()
{
    const QPoint origin = clientOrigin();
    return screenshot().copy(origin.x(), origin.y(), kClientWidth * scale_, kClientHeight * scale_);
}

void DeckWindow::expectShows(const Board &board)
{
    QImage shown;
    QString difference;
    QDeadlineTimer deadline(5000);
    do {
        shown = clientArea();
        // The gap right of the Ace of Clubs is background.
        const QImage expected = test::renderBoard(board, shown.pixel(kCardWidth * scale_, 0), scale_);
        difference = test::firstDifference(shown, expected);
        if (difference.isEmpty())
            return;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    ADD_FAILURE() << difference.toStdString();
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

} // namespace velmora::test
