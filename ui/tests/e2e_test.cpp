// Drives the real program in a real X server with real input events, and
// compares what it shows with the pictures pixel for pixel.

#include "endtoend.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

QString programPath;
QString faultyProgramPath;
QString sourcePath;

using test::XVelmora;

// The whole walk, at a scale of 1 and of 2: there a click marks what is drawn
// under the device pixel clicked.
TEST(EndToEnd, ClicksMenusAboutAndCloseWorkWithRealInput)
{
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "at a scale of " << scale);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_SCALE_FACTOR", QString::number(scale));
        XVelmora velmora(programPath, {}, environment, scale);
        ASSERT_NO_FATAL_FAILURE(test::walkTheDeck(velmora.window()));
        EXPECT_EQ(velmora.waitForExit(), 0) << velmora.errors().toStdString();
    }
}

TEST(EndToEnd, CommandLineArgumentsChangeNothing)
{
    QImage plain;
    {
        XVelmora velmora(programPath);
        velmora.window().expectShows(Board());
        plain = velmora.window().screenshot();
    }
    XVelmora velmora(programPath, {"-reverse", "-style", "Windows", "--help", "-platform", "offscreen"});
    velmora.window().expectShows(Board());
    velmora.window().expectScreenshot(plain);
}

// The system calls of a traced run that write, create, remove, connect to anything
// but the display server and the given bus socket, or start another process.
QStringList forbiddenCalls(const QString &trace, const QString &busSocket)
{
    const QRegularExpression pidPrefix(QStringLiteral("^(\\d+)\\s+"));
    const QRegularExpression resumed(QStringLiteral("^<\\.\\.\\. \\w+ resumed>"));
    const QRegularExpression failed(QStringLiteral("\\) += -1 "));
    const QRegularExpression writeOpen(QStringLiteral(
        "^(open|openat|openat2|creat)\\(.*\"(?!/dev/)[^\"]*\".*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)"));
    const QRegularExpression changesFiles(
        QStringLiteral("^(mkdir|mkdirat|rename|renameat|renameat2|unlink|unlinkat|rmdir|link|linkat|symlink|"
                       "symlinkat|truncate|mknod|mknodat)\\("));
    const QRegularExpression socketCall(QStringLiteral("^socket\\((?!AF_UNIX)"));
    const QRegularExpression serverCall(QStringLiteral("^(bind|listen)\\("));
    const QRegularExpression connectCall(QStringLiteral("^connect\\("));
    const QRegularExpression allowedSocket(QStringLiteral("sun_path=@?\"(/tmp/\\.X11-unix/X\\d+|%1)\"")
                                               .arg(QRegularExpression::escape(busSocket)));
    // Threads are fine; a new process is not, nor running another program.
    const QRegularExpression newProcess(
        QStringLiteral("^(fork|vfork|execve|execveat)\\(|^clone3?\\((?!.*CLONE_THREAD)"));

    QHash<QString, QString> unfinished; // per process, the first half of an interrupted call
    QStringList forbidden;
    bool started = false; // the tracer's own start of the program
    for (QString line : trace.split('\n', Qt::SkipEmptyParts)) {
        line = line.trimmed();
        const auto pid = pidPrefix.match(line);
        const QString process = pid.captured(1);
        line = line.mid(pid.capturedLength());
        if (line.endsWith(QLatin1String("<unfinished ...>"))) {
            unfinished[process] = line.chopped(16);
            continue;
        }
        if (const auto r = resumed.match(line); r.hasMatch())
            line = unfinished.take(process) + line.mid(r.capturedLength());
        if (failed.match(line).hasMatch())
            continue;
        if (!started && line.startsWith(QLatin1String("execve("))) {
            started = true;
            continue;
        }
        if (writeOpen.match(line).hasMatch() || changesFiles.match(line).hasMatch() ||
            socketCall.match(line).hasMatch() || serverCall.match(line).hasMatch() ||
            newProcess.match(line).hasMatch() ||
            (connectCall.match(line).hasMatch() && !allowedSocket.match(line).hasMatch()))
            forbidden << line;
    }
    return forbidden;
}

TEST(TraceCheck, FlagsWritesChangesForeignConnectionsAndNewProcessesOnly)
{
    const QString bus = QStringLiteral("/tmp/e2e-Ab12/bus");
    const QString allowed = QStringLiteral(
        "100 execve(\"/usr/bin/velmora\", [\"velmora\"], 0x7ffd /* 9 vars */) = 0\n"
        "100 openat(AT_FDCWD, \"/usr/share/fonts/a.ttf\", O_RDONLY|O_CLOEXEC) = 3\n"
        "100 openat(AT_FDCWD, \"/dev/null\", O_RDWR) = 4\n"
        "100 openat(AT_FDCWD, \"/home/u/.cache/x\", O_WRONLY|O_CREAT, 0600) = -1 ENOENT (No such file)\n"
        "100 mkdir(\"/run/user/0\", 0700) = -1 EEXIST (File exists)\n"
        "100 clone3({flags=CLONE_VM|CLONE_FS|CLONE_FILES|CLONE_SIGHAND|CLONE_THREAD|CLONE_SYSVSEM, "
        "child_tid=0x7f}, 88) = 101\n"
        "101 connect(3, {sa_family=AF_UNIX, sun_path=@\"/tmp/.X11-unix/X7\"}, 21 <unfinished ...>\n"
        "101 <... connect resumed>) = 0\n"
        "101 connect(4, {sa_family=AF_UNIX, sun_path=\"/tmp/e2e-Ab12/bus\"}, 20) = 0\n");
    EXPECT_TRUE(forbiddenCalls(allowed, bus).isEmpty())
        << forbiddenCalls(allowed, bus).join('\n').toStdString();

    const QString bad = QStringLiteral(
        "100 execve(\"/usr/bin/velmora\", [\"velmora\"], 0x7ffd /* 9 vars */) = 0\n"
        "100 openat(AT_FDCWD, \"/home/u/.cache/x\", O_WRONLY|O_CREAT, 0600) = 5\n"
        "100 mkdir(\"/tmp/runtime-root\", 0700) = 0\n"
        "100 unlinkat(AT_FDCWD, \"/tmp/x\", 0) = 0\n"
        "101 socket(AF_INET, SOCK_STREAM, 0 <unfinished ...>\n"
        "101 <... socket resumed>) = 6\n"
        "100 connect(7, {sa_family=AF_UNIX, sun_path=\"/run/dbus/system_bus_socket\"}, 30) = 0\n"
        "100 connect(8, {sa_family=AF_UNIX, sun_path=\"/tmp/dbus-XyZ\"}, 20) = 0\n"
        "100 clone(child_stack=NULL, flags=CLONE_CHILD_CLEARTID|CLONE_CHILD_SETTID|SIGCHLD) = 102\n"
        "102 execve(\"/usr/bin/dbus-launch\", [\"dbus-launch\"], 0x7ffd /* 9 vars */) = 0\n");
    EXPECT_EQ(forbiddenCalls(bad, bus).size(), 8) << forbiddenCalls(bad, bus).join('\n').toStdString();
}

// Velmora keeps nothing: a whole session writes no file, starts no process and
// talks to nothing but the display and the session bus.
TEST(EndToEnd, WritesNoFileAndUsesNoNetwork)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QDir root(scratch.path());
    for (const char *dir : {"home", "tmp", "run"})
        ASSERT_TRUE(root.mkdir(dir));
    // The toolkit wants a private runtime directory; give it one rather than let it make one.
    QFile::setPermissions(root.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment environment;
    environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
    environment.insert("PATH", qEnvironmentVariable("PATH"));
    environment.insert("HOME", root.filePath("home"));
    environment.insert("TMPDIR", root.filePath("tmp"));
    environment.insert("XDG_RUNTIME_DIR", root.filePath("run"));
    environment.insert("DBUS_SESSION_BUS_ADDRESS", qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));
    // Sanitizer builds keep their settings, but the leak checker cannot run under a tracer.
    for (const char *name : {"UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (qEnvironmentVariableIsSet(name))
            environment.insert(name, qEnvironmentVariable(name));
    environment.insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":detect_leaks=0");
    const QString traceLog = root.filePath("trace.log");
    {
        XVelmora velmora(QStringLiteral("strace"),
                        {"-f", "-qq", "-o", traceLog, "-e", "trace=%file,%network,%desc,%process", programPath},
                        environment);
        Board played;
        velmora.window().expectShows(played);
        velmora.window().click({230, 120});
        played.markPlayed({Rank::Eight, Suit::Hearts});
        ASSERT_NO_FATAL_FAILURE(test::aboutResetAndClose(velmora.window(), played));
        EXPECT_EQ(velmora.waitForExit(), 0) << velmora.errors().toStdString();
    }
    QFile log(traceLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString trace = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(trace.contains("/tmp/.X11-unix/X")) << "the trace must show the display connection";
    const QString busSocket = QRegularExpression(QStringLiteral("unix:path=([^,]+)"))
                                  .match(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"))
                                  .captured(1);
    const QStringList forbidden = forbiddenCalls(trace, busSocket);
    EXPECT_TRUE(forbidden.isEmpty()) << forbidden.join('\n').toStdString();
    for (const char *dir : {"home", "tmp", "run"})
        EXPECT_TRUE(QDir(root.filePath(dir)).isEmpty()) << dir << " is no longer empty";
}

// A picture that cannot be shown is fatal: a message box names it, then the process fails.
TEST(EndToEnd, AFailingPictureEndsTheProgramAfterSayingSo)
{
    XVelmora velmora(faultyProgramPath);
    ASSERT_NO_FATAL_FAILURE(test::clickTheFailingPicture(velmora.window()));
    EXPECT_EQ(velmora.waitForExit(), 1);
    EXPECT_TRUE(velmora.errors().contains("Image36")) << velmora.errors().toStdString();
}

// Started where no window can be opened, the program says why in one line and
// fails; it does not crash.
TEST(EndToEnd, WithoutADisplayOneLineSaysWhyAndTheStatusIsOne)
{
    int unused = 99;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(unused)))
        ++unused;
    const QStringList setups[] = {
        {},
        {"DISPLAY=:" + QString::number(unused)},
        {"QT_QPA_PLATFORM=nosuchplatform"},
    };
    for (const QStringList &setup : setups) {
        SCOPED_TRACE(setup.join(' ').toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        for (const QString &variable : setup)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(programPath, {});
        ASSERT_TRUE(program.waitForFinished(test::kPatience));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 1);
        const QStringList said =
            QString::fromLocal8Bit(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
        EXPECT_TRUE(said[0].startsWith(QLatin1String("velmora: cannot open a window: ")))
            << said[0].toStdString();
    }
}

// When the display goes away mid-session, the program ends with status 1 and says so.
TEST(EndToEnd, LosingTheDisplayEndsTheProgramWithStatusOne)
{
    QProcess xvfb;
    xvfb.setChildProcessModifier(test::dieWithTheTest);
    xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-nolisten", "tcp"});
    ASSERT_TRUE(xvfb.waitForReadyRead(test::kPatience)) << "Xvfb did not start";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", ":" + QString::fromLatin1(xvfb.readLine().trimmed()));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setChildProcessModifier(test::dieWithTheTest);
    program.start(programPath, {});
    QProcess search;
    search.setProcessEnvironment(environment);
    search.start(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--name", "^Velmora$"});
    EXPECT_TRUE(search.waitForFinished(test::kPatience)) << "the window did not show";

    xvfb.kill();
    xvfb.waitForFinished();
    ASSERT_TRUE(program.waitForFinished(test::kPatience));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(program.readAllStandardError().contains("X11 connection broke"));
}

// Where the session has no runtime directory (xvfb-run over ssh), scripts/run
// opens the window without a word on the terminal and leaves nothing behind.
TEST(EndToEnd, ScriptsRunOpensTheWindowQuietlyWithoutARuntimeDirectory)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("TMPDIR", scratch.path());
    {
        XVelmora velmora(QStringLiteral("bash"),
                        {"-c", "source \"$0/scripts/lib/common.sh\" && open_window \"$1\"", sourcePath, programPath},
                        environment);
        velmora.window().expectShows(Board());
        velmora.window().close();
        EXPECT_EQ(velmora.waitForExit(), 0);
        EXPECT_EQ(velmora.errors().toStdString(), "");
    }
    EXPECT_TRUE(QDir(scratch.path()).isEmpty());
}

} // namespace
} // namespace velmora

int main(int argc, char **argv)
{
    using namespace velmora::test;
    return runTests(argc, argv, "VELMORA FAULTY-VELMORA SOURCE-DIRECTORY",
                    {&velmora::programPath, &velmora::faultyProgramPath, &velmora::sourcePath}, {new XServer});
}
