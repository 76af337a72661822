#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velmora::test {

// A private session bus for the programs under test, so that none is autolaunched
// and none of the machine's is used. Ending it also ends every process that was
// started on it, such as the accessibility services it activates.
class SessionBus {
public:
    SessionBus() = default;
    SessionBus(const SessionBus &) = delete;
    SessionBus &operator=(const SessionBus &) = delete;
    ~SessionBus() { stop(); }

    // Starts the bus and points this process's DBUS_SESSION_BUS_ADDRESS at it.
    bool start();
    void stop();

    QString socketPath() const { return directory_.filePath(QStringLiteral("bus")); }

private:
    QTemporaryDir directory_;
    QProcess daemon_;
};

} // namespace velmora::test
