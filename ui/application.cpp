#include "application.h"

#include <window/config.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace velmora {

namespace {

// What the toolkit said while the application object was being made: held back,
// because when no display can be opened it is a page of noise ending in advice to
// reinstall, where one line is the truth.
struct StartupMessage {
    QtMsgType type;
    const char *file; // the context's strings are the toolkit's literals
    int line;
    const char *function;
    const char *category;
    QString text;
};
QList<StartupMessage> *heldMessages = nullptr;

QString displayProblem()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (const StartupMessage &message : *heldMessages) {
        if (message.text.startsWith(QLatin1String("Could not find the Qt platform plugin")))
            return QStringLiteral("there is no display platform \"%1\" (QT_QPA_PLATFORM)")
                .arg(QString::fromLocal8Bit(platform));
    }
    if (platform.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("no display is set (DISPLAY and WAYLAND_DISPLAY are empty)");
    // The toolkit tries each platform in turn and names the ones that failed.
    static const QRegularExpression failedPlatform(
        QStringLiteral("^Could not load the Qt platform plugin \"([^\"]+)\""));
    QStringList tried;
    for (const StartupMessage &message : *heldMessages) {
        const QString name = failedPlatform.match(message.text).captured(1);
        if (name.startsWith(QLatin1String("wayland")))
            tried << QStringLiteral("the Wayland display \"%1\"")
                         .arg(qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")));
        else if (name == QLatin1String("xcb"))
            tried << (qEnvironmentVariableIsEmpty("DISPLAY")
                          ? QStringLiteral("an X display (DISPLAY is empty)")
                          : QStringLiteral("the X display \"%1\"").arg(qEnvironmentVariable("DISPLAY")));
        else if (!name.isEmpty())
            tried << QStringLiteral("the display platform \"%1\"").arg(name);
    }
    if (!tried.isEmpty())
        return QStringLiteral("could not connect to ") + tried.join(QLatin1String(" or "));
    return QStringLiteral("no display could be opened");
}

void holdStartupMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "velmora: cannot open a window: %s\n", qPrintable(displayProblem()));
        std::fflush(stderr);
        // No core dump: nothing went wrong inside the program.
        std::_Exit(EXIT_FAILURE);
    }
    heldMessages->append({type, context.file, context.line, context.function, context.category, text});
}

// Where messages went before the program's own filter.
QtMessageHandler toolkitOutput = nullptr;

// When a compositor changes a window's fractional scale, Qt 6.8 can notice the
// new ratio at the window's next repaint before its own notice arrives: it says
// so, takes the new ratio and draws with it, so the window shows nothing wrong.
// The note asks for a bug report from whoever sees it: not Velmora's users.
void dropStaleRatioNote(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("The cached device pixel ratio value was stale")))
        return;
    toolkitOutput(type, context, text);
}

// Whether the toolkit will pick its Wayland platform: the first that
// QT_QPA_PLATFORM names, otherwise Wayland in a Wayland session, as Qt 6 does.
bool waylandExpected()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty())
        return chosen.startsWith("wayland");
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

// Toolkit settings that must be made before the application object exists.
void prepareToolkit()
{
    // Whole-number scale factors keep every picture pixel a sharp square: 1.25
    // draws at 1, 1.5 and 1.75 at 2. On Wayland, from Qt 6.5 on, the toolkit
    // takes the compositor's exact fractional scale only when it passes scales
    // through; the board view then lays whole blocks on the device grid itself.
    // Rounded, it would draw at 2 and the compositor would shrink the result.
    const bool exactScale = QT_VERSION >= QT_VERSION_CHECK(6, 5, 0) && waylandExpected();
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(exactScale ? Qt::HighDpiScaleFactorRoundingPolicy::PassThrough
                                                                    : Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void nameApplication()
{
    const QString name = QString::fromUtf8(config::kApplicationName);
    QApplication::setApplicationName(name);
    QApplication::setApplicationDisplayName(name);
    QApplication::setApplicationVersion(QString::fromUtf8(config::kDisplayVersion));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(config::kDesktopFileId));
}

} // namespace

std::unique_ptr<QApplication> startApplication(int &argc, char **argv)
{
    prepareToolkit();
    QList<StartupMessage> held;
    heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(holdStartupMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    toolkitOutput = previous;
    qInstallMessageHandler(dropStaleRatioNote);
    heldMessages = nullptr;

    for (const StartupMessage &message : held) {
        // The toolkit switches a C locale to UTF-8 by itself, and Velmora reads
        // and writes no text in the user's locale: the note is not for its users.
        if (message.text.startsWith(QLatin1String("Detected locale")))
            continue;
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        qt_message_output(message.type, context, message.text);
    }
    nameApplication();
    return app;
}

} // namespace velmora
