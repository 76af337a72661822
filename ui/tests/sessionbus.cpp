#include "sessionbus.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

namespace velmora::test {

namespace {

// Processes whose environment names this bus: those it started and their children.
QList<pid_t> processesOnBus(const QByteArray &socketPath)
{
    QList<pid_t> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid || pid == getpid())
            continue;
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (environ.open(QIODevice::ReadOnly) && environ.readAll().contains(socketPath))
            found << pid;
    }
    return found;
}

} // namespace

bool SessionBus::start()
{
    if (!directory_.isValid())
        return false;
    // It complains when it may not raise its file limit, which does not matter here.
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    // Killed with the test, should the test be killed before it stops the bus.
    daemon_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--nopidfile", "--print-address=1",
                                                  "--address=unix:path=" + socketPath()});
    if (!daemon_.waitForReadyRead(20000))
        return false;
    const QByteArray address = daemon_.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    return !address.isEmpty();
}

void SessionBus::stop()
{
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    daemon_.waitForFinished();
    for (const pid_t pid : processesOnBus(socketPath().toUtf8()))
        kill(pid, SIGKILL);
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace velmora::test
