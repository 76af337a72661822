#include "endtoend.h"

#include "rendering.h"

#include <pictures/pictures.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>

namespace velmora::test {

int runTests(int argc, char **argv, const char *usage, std::initializer_list<QString *> into,
             std::initializer_list<testing::Environment *> environments, int built, const char *toBuild)
{
    testing::InitGoogleTest(&argc, argv);
    const QCoreApplication application(argc, argv);
    for (testing::Environment *environment : environments)
        testing::AddGlobalTestEnvironment(environment);
    if (argc != static_cast<int>(into.size()) + 1) {
        std::fprintf(stderr, "usage: %s %s\n", QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toLocal8Bit().data(),
                     usage);
        return 2;
    }
    for (QString *value : into)
        *value = QString::fromLocal8Bit(*++argv);
    for (QString *file : into) {
        if (built-- > 0 && !QFileInfo::exists(*file)) {
            std::fprintf(stderr, "%s is missing: %s\n", file->toLocal8Bit().data(), toBuild);
            return 77;
        }
    }
    return RUN_ALL_TESTS();
}

bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString describeShot(const QImage &shot)
{
    if (shot.isNull())
        return QStringLiteral("no picture");
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("velmora-shot-XXXXXX.png")));
    file.setAutoRemove(false);
    const bool kept = file.open() && shot.save(&file, "PNG");
    return QStringLiteral("a %1 x %2 picture%3")
        .arg(shot.width())
        .arg(shot.height())
        .arg(kept ? ", kept as " + file.fileName() : QString());
}

void dieWithTheTest() { prctl(PR_SET_PDEATHSIG, SIGKILL); }

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

Program::Program(const QString &path, const QStringList &args, QProcessEnvironment environment)
{
    // A toolkit warning names the calls that raised it: one seen once by chance can then be traced.
    environment.insert(QStringLiteral("QT_MESSAGE_PATTERN"),
                       QStringLiteral("%{message}%{if-warning} (raised at "
                                      "%{backtrace depth=32 separator=\" < \"})%{endif}"));
    process_.setProcessEnvironment(environment);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setChildProcessModifier(dieWithTheTest);
    process_.start(path, args);
    EXPECT_TRUE(process_.waitForStarted())
        << path.toStdString() << " did not start: " << process_.errorString().toStdString();
}

Program::~Program()
{
    end();
}

void Program::end()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

int Program::waitForExit()
{
    EXPECT_TRUE(process_.waitForFinished(kPatience)) << "the program did not end";
    errors_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString Program::status()
{
    if (process_.state() != QProcess::NotRunning)
        return QStringLiteral("the program is still running");
    errors_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return QStringLiteral("the program has ended with status %1, saying: %2")
        .arg(process_.exitCode())
        .arg(errors_);
}

std::optional<QPoint> findClientArea(const QImage &shot, int x, int scale)
{
    const QImage ace = pictureImage(cardPicture(Rank::Ace, Suit::Clubs)).scaled(kCardWidth * scale, kCardHeight * scale);
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + ace.height() <= image.height(); ++y) {
        if (firstDifference(image.copy(x, y, ace.width(), ace.height()), ace).isEmpty())
            return QPoint(x, y);
    }
    return std::nullopt;
}

} // namespace velmora::test
