#include "xsession.h"

#include <ui/tests/rendering.h>

#include <pictures/pictures.h>


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
    xvfb_.setChildProcessModifier(dieWithTheTest);
    // Xvfb writes the display number it chose to the given descriptor (standard output here).
    // Without -noreset it starts afresh whenever its last client leaves, dropping any
    // client that has just connected: the window manager, while the short-lived xprop
    // below is the only other one.
    xvfb_.start(QStringLiteral("Xvfb"),
                {"-displayfd", "1", "-noreset", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    ASSERT_TRUE(xvfb_.waitForReadyRead(kPatience)) << "Xvfb did not start";
    qputenv("DISPLAY", ":" + xvfb_.readLine().trimmed());
    // Without a window manager, Wine takes seconds to hide a window.
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.setChildProcessModifier(dieWithTheTest);
    windowManager_.start(QStringLiteral("openbox"), {"--sm-disable"});
    ASSERT_TRUE(windowManager_.waitForStarted());
    ASSERT_TRUE(bus_.start()) << "dbus-daemon did not start";
    // A window mapped before the window manager has taken over the screen gets no frame.
    QString check;
    const bool managed = waitFor([&] {
        check = run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
        return check.contains(QLatin1String("window id"));
    });
    windowManager_.waitForFinished(0); // with no event loop, only this notices that it ended
    ASSERT_TRUE(managed) << "the window manager did not take over the screen: " << check.toStdString()
        << (windowManager_.state() == QProcess::NotRunning
                ? "; it has ended, saying: " + windowManager_.readAllStandardError().toStdString()
                : std::string("; it is still running"));
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
    QStringList found;
    if (!waitFor([&] { return (found = visibleWindows(QStringLiteral("Velmora"))).size() == count; }))
        ADD_FAILURE() << "expected " << count << " windows named Velmora, still found " << found.size() << ": "
                      << found.join(' ').toStdString();
    else if (found.removeAll(main) > 0)
        found.prepend(main);
    return found;
}

QImage DeckWindow::screenshot() const
{
    // Without a window, import would wait for one to be picked with the mouse.
    if (id_.isEmpty())
        return {};
    QProcess p;
    p.start(QStringLiteral("import"), {"-window", id_, "png:-"});
    p.waitForFinished(kPatience);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

QPoint DeckWindow::clientOrigin()
{
    // The window may be there before its first paint.
    QImage shot;
    if (!origin_ && !waitFor([&] { return (origin_ = findClientArea(shot = screenshot(), 0, scale_)).has_value(); }))
        ADD_FAILURE() << "the Ace of Clubs is still not at the window's left edge; the last screenshot was "
                      << describeShot(shot).toStdString();
    return origin_.value_or(QPoint());
}

QImage DeckWindow::clientArea()
{
    const QPoint origin = clientOrigin();
    return screenshot().copy(origin.x(), origin.y(), kClientWidth * scale_, kClientHeight * scale_);
}

void DeckWindow::expectScreenshot(const QImage &expected) const
{
    QImage shot;
    QString difference;
    if (!waitFor([&] { return (difference = firstDifference(shot = screenshot(), expected)).isEmpty(); }))
        ADD_FAILURE() << "the window still differs: " << difference.toStdString() << "; the last screenshot was "
                      << describeShot(shot).toStdString();
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

void DeckWindow::pointerAt(QPoint point, const QString &action, int button)
{
    const QPoint p = toScreen(point);
    xdotool({"mousemove", "--window", id_, QString::number(p.x()), QString::number(p.y()), action,
             QString::number(button)});
}

void DeckWindow::keys(const QStringList &keys)
{
    xdotool({"windowactivate", "--sync", id_});
    // The program takes keys in the order they come, an opened menu the ones after it.
    for (const QString &key : keys)
        xdotool({"key", "--clearmodifiers", key});
}

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
        {{0, 0}, 1, 1},    {{0, 0}, 3, 1},     {{30, 0}, 1, 1},    {{31, 20}, 3, 1},  {{32, 0}, 3, 1},
        {{0, 52}, 1, 1},   {{240, 130}, 1, 2}, {{415, 10}, 1, 1},  {{100, 218}, 1, 1}, {{413, 217}, 3, 1},
    };
    for (const Click &c : clicks) {
        window.click(c.point, c.button, c.repeat);
        const auto card = expected.hitTest(c.point.x(), c.point.y());
        if (!card)
            continue;
        expected.markPlayed(*card);
        SCOPED_TRACE(testing::Message() << "after a click at " << c.point.x() << "," << c.point.y());
        window.expectShows(expected);
    }
}

void aboutResetAndClose(DeckWindow &window, const WindowWaiter &windows, const Board &expected)
{
    window.keys({"alt+h", "a"});
    const QStringList withBox = windows(2);
    ASSERT_EQ(withBox.size(), 2);
    EXPECT_EQ(xdotool({"getwindowname", withBox[1]}), "Velmora");
    window.click({300, 30}); // the box is modal: the window takes no clicks
    xdotool({"windowactivate", "--sync", withBox[1]});
    xdotool({"key", "Return"});
    windows(1);
    window.expectShows(expected);

    window.keys({"alt+f", "r"});
    window.expectShows(Board());

    window.click({0, 0});
    window.keys({"alt+F4"});
}

void clickTheFailingPicture(DeckWindow &window, const WindowWaiter &windows)
{
    window.click({230, 120});
    const QStringList withBox = windows(2);
    ASSERT_EQ(withBox.size(), 2);
    xdotool({"windowactivate", "--sync", withBox[1]});
    xdotool({"key", "Return"});
}

} // namespace velmora::test
