#pragma once

#include <board/board.h>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <optional>

namespace velmora::test {

// How long a test waits for anything a program should show or do soon: long
// enough for a machine busy with other work, and costing nothing when all is well.
constexpr int kPatience = 30000; // milliseconds

// A test program's own arguments, after GoogleTest took its flags, each read into
// its string in turn. Returns 2 having said how to call the program if they do
// not match, 77 (skipped) having said what to build if one of the first `built`
// files is missing, and 0 when all is well.
int readArguments(int argc, char **argv, const char *usage, std::initializer_list<QString *> into, int built = 0,
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
    Program(const QString &path, const QStringList &args, const QProcessEnvironment &environment);
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

// Takes pictures of the client area until one shows exactly this board. Empty when
// one did, otherwise how the last one differed.
QString waitUntilShown(const std::function<QImage()> &clientArea, const Board &board, int scale = 1);

// Clicks every device pixel of edgeDevicePixels: first those in the gaps, none of
// which may mark a card, then the Queen of Hearts, to show that they have all been
// handled, then those on the cards' edges, with the left and right buttons in turn.
// Checks the board after the gaps and after the edges; `expected` follows the clicks.
void clickGapsThenEdges(Board &expected, int scale, const std::function<void(QPoint pixel, bool right)> &click,
                        const std::function<void(const Board &)> &expectShows);

} // namespace velmora::test
