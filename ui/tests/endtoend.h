#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>

namespace velmora::test {

// How long a test waits for anything a program should show or do soon: long
// enough for a machine busy with other work, and costing nothing when all is well.
constexpr int kPatience = 30000; // milliseconds

// An end-to-end test program's main(): GoogleTest takes its flags, then the
// program's own arguments are read, each into its string in turn, and the tests
// run in the given environments. Returns 2 having said how to call the program if
// the arguments do not match, 77 (skipped) having said what to build if one of the
// first `built` files is missing, and otherwise how the tests went.
int runTests(int argc, char **argv, const char *usage, std::initializer_list<QString *> into,
             std::initializer_list<testing::Environment *> environments = {}, int built = 0,
             const char *toBuild = "");

// Asks `condition` again and again until it holds or the time is up; whether it held.
bool waitFor(const std::function<bool()> &condition, int milliseconds = kPatience);

// For a failure message: the picture's size and where a copy of it was kept.
QString describeShot(const QImage &shot);

// For QProcess::setChildProcessModifier: the child is killed when the test
// process ends, even by a crash or a timeout.
void dieWithTheTest();

// Runs a helper program to its end and returns its standard output, trimmed.
QString run(const QString &program, const QStringList &args,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// A program under test, killed if it is still running when this goes.
class Program {
public:
    Program(const QString &path, const QStringList &args, QProcessEnvironment environment);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    qint64 processId() const { return process_.processId(); }
    // Kills the program if it is still running.
    void end();

    // The exit status, or -1 for a crash; what the program said on its error output is kept.
    int waitForExit();
    const QString &errors() const { return errors_; }
    // For a failure message: whether the program still runs, or how it ended and what it said.
    QString status();

private:
    QProcess process_;
    QString errors_;
};

// Where the client area starts in a screenshot, searching down the column x: the
// Ace of Clubs, drawn at this scale, has its top-left corner there.
std::optional<QPoint> findClientArea(const QImage &shot, int x, int scale = 1);

} // namespace velmora::test
