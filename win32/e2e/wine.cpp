#include "wine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace velmora::test {

QString wineLoader()
{
    // Debian's wine script only adds a hint about the 32-bit loader to the 64-bit one.
    const QString debian = QStringLiteral("/usr/lib/wine/wine64");
    return QFileInfo(debian).isExecutable() ? debian : QStringLiteral("wine64");
}

WinePrefix::WinePrefix() : environment_(QProcessEnvironment::systemEnvironment())
{
    const QDir root(dir_.path());
    // The server needs the prefix's folder; wineboot fills it.
    root.mkdir("prefix");
    root.mkdir("home");
    environment_.insert("HOME", root.filePath("home"));
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment_.remove(name);
    environment_.insert("WINEPREFIX", root.filePath("prefix"));
    environment_.insert("WINEDEBUG", "-all");
    // A fresh prefix would offer to download Mono and Gecko, and Wine's menu builder
    // would write desktop entries and registry keys at times of its own choosing.
    environment_.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    startServer();
    run({"wineboot", "--init"});
    // No crash debugger: now and then one of Wine's own helper processes crashes
    // (about once in two hundred sessions), and the debugger would write registry
    // keys of its own into the prefix that a test reads. A crash of the program
    // under test still shows in its exit status.
    run({"reg", "add", R"(HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug)", "/v", "Debugger", "/d", "",
         "/f"});
}

WinePrefix::~WinePrefix()
{
    stopServer();
}

void WinePrefix::startServer() const
{
    // Persistent, and writing nowhere: the services it starts inherit its output,
    // and would hold a reader's pipe open for ever.
    QProcess server;
    server.setProcessEnvironment(environment_);
    server.setStandardInputFile(QProcess::nullDevice());
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QStringLiteral("wineserver"), {"--persistent"});
    EXPECT_TRUE(server.waitForFinished(30000) && server.exitCode() == 0) << "wineserver did not start";
}

void WinePrefix::stopServer() const
{
    for (const char *option : {"--kill", "--wait"}) {
        QProcess server;
        server.setProcessEnvironment(environment_);
        server.start(QStringLiteral("wineserver"), {option});
        server.waitForFinished(30000);
    }
}

QString WinePrefix::run(const QStringList &command) const
{
    return test::run(wineLoader(), command, environment_);
}

} // namespace velmora::test
