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

QImage XWindow::screenshot() const
{
    // Without a window, import would wait for one to be picked with the mouse.
    if (id_.isEmpty())
        return {};
    QProcess p;
    p.start(QStringLiteral("import"), {"-window", id_, "png:-"});
    p.waitForFinished(kPatience);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

QPoint XWindow::clientOrigin()
{
    // The window may be there before its first paint.
    QImage shot;
    if (!origin_ && !waitFor([&] { return (origin_ = findClientArea(shot = screenshot(), 0, scale())).has_value(); }))
        ADD_FAILURE() << "the Ace of Clubs is still not at the window's left edge; the last screenshot was "
                      << describeShot(shot).toStdString();
    return origin_.value_or(QPoint());
}

QImage XWindow::clientArea()
{
    const QPoint origin = clientOrigin();
    return screenshot().copy(QRect(origin, QSize(kClientWidth, kClientHeight) * scale()));
}

void XWindow::expectScreenshot(const QImage &expected) const
{
    QImage shot;
    QString difference;
    if (!waitFor([&] { return (difference = firstDifference(shot = screenshot(), expected)).isEmpty(); }))
        ADD_FAILURE() << "the window still differs: " << difference.toStdString() << "; the last screenshot was "
                      << describeShot(shot).toStdString();
}

void XWindow::pointerAt(QPoint pixel, const QString &action, int button, const QStringList &options)
{
    const QPoint p = clientOrigin() + pixel;
    // "--": a point left of or above the client area has a negative coordinate.
    xdotool(QStringList{"mousemove", "--window", id_, "--", QString::number(p.x()), QString::number(p.y()), action} +
            options + QStringList{QString::number(button)});
    if (afterButton && action != QLatin1String("click"))
        afterButton(action == QLatin1String("mousedown"));
}

void XWindow::clickDevicePixel(QPoint pixel, int button, int repeat)
{
    pointerAt(pixel, "click", button, {"--repeat", QString::number(repeat)});
}

void XWindow::keys(const QStringList &keys)
{
    xdotool({"windowactivate", "--sync", id_});
    // The program takes keys in the order they come, an opened menu the ones after it.
    for (const QString &key : keys)
        xdotool({"key", "--clearmodifiers", key});
}

QStringList XWindow::windows()
{
    QStringList found = visibleWindows(QStringLiteral("Velmora"));
    if (found.removeAll(id_) > 0)
        found.prepend(id_);
    return found;
}

void XWindow::answer(const QString &box)
{
    xdotool({"windowactivate", "--sync", box});
    xdotool({"key", "Return"});
}

XVelmora::XVelmora(const QString &program, const QStringList &args, const QProcessEnvironment &environment,
                   int scale)
    : program_(program, args, environment)
{
    // Until its window is known, any window named Velmora is the program's.
    const QStringList windows = XWindow(QString(), scale).waitForWindows(1);
    EXPECT_EQ(windows.size(), 1) << program_.status().toStdString();
    window_ = std::make_unique<XWindow>(windows.value(0), scale);
}

XVelmora::~XVelmora()
{
    program_.end();
    window_->waitForWindows(0);
}

} // namespace velmora::test
