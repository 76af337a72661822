#pragma once

#include "xsession.h"

#include <QProcess>
#include <QTemporaryDir>

namespace velmora::test {

// A fresh Wine prefix in a temporary folder with its wineserver running, and the
// environment that runs Windows programs in it.
class WinePrefix {
public:
    WinePrefix();
    ~WinePrefix();
    WinePrefix(const WinePrefix &) = delete;
    WinePrefix &operator=(const WinePrefix &) = delete;

    QString path() const { return dir_.path(); }
    const QProcessEnvironment &environment() const { return environment_; }
    // Runs a Windows program to completion in this prefix; its standard output.
    QString run(const QStringList &command) const;
    // Stops the wineserver and every program in the prefix; the registry is then on disk.
    void stopServer() const;
    void startServer() const;

private:
    QTemporaryDir dir_;
    QProcessEnvironment environment_;
};

// The Wine loader for 64-bit programs.
QString wineLoader();

// One running copy of a Velmora program under Wine and its window.
class WineVelmora : public XVelmora {
public:
    WineVelmora(const WinePrefix &prefix, const QString &exe, const QStringList &args = {}, int scale = 1)
        : XVelmora(wineLoader(), QStringList{exe} + args, prefix.environment(), scale)
    {
    }
};

} // namespace velmora::test
