// Drives the real program in a real X server with real input events, and
// compares what it shows with the pictures pixel for pixel.

#include "endtoend.h"
#include "rendering.h"
#include "xsession.h"

#include <pictures/pictures.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

QString programPath;
QString faultyProgramPath;
QString sourcePath;

// One running copy of a Velmora program and its window.
class Velmora {
public:
    explicit Velmora(const QString &program, const QStringList &args = {},
                     const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                     int scale = 1)
        : program_(program, args, environment)
    {
        const QStringList windows = waitForWindows(1);
        EXPECT_EQ(windows.size(), 1) << program_.status().toStdString();
        window_ = std::make_unique<test::DeckWindow>(windows.value(0), scale);
    }

    // Ends the program and waits until its windows are gone, so that none is taken for the next one's.
    ~Velmora()
    {
        program_.end();
        test::waitForVelmoraWindows(0);
    }
    Velmora(const Velmora &) = delete;
    Velmora &operator=(const Velmora &) = delete;

    test::DeckWindow &deck() { return *window_; }

    QStringList waitForWindows(int count) const
    {
        return test::waitForVelmoraWindows(count, window_ ? window_->id() : QString());
    }

    test::WindowWaiter windows() const
    {
        return [this](int count) { return waitForWindows(count); };
    }

    QImage screenshot() const { return window_->screenshot(); }
    void expectShows(const Board &board) { window_->expectShows(board); }
    void click(QPoint client, int button = 1, int repeat = 1) { window_->click(client, button, repeat); }
    void clickDevicePixel(QPoint pixel, int button) { window_->clickDevicePixel(pixel, button); }
    void keys(const QStringList &keys) { window_->keys(keys); }

    int waitForExit() { return program_.waitForExit(); }
    const QString &errors() const { return program_.errors(); }

private:
    test::Program program_;
    std::unique_ptr<test::DeckWindow> window_;
};

TEST(EndToEnd, ClicksMenusAboutAndCloseWorkWithRealInput)
{
    Velmora velmora(programPath);
    Board expected;
    velmora.expectShows(expected);

    test::clickAroundTheGrid(velmora.deck(), expected);
    ASSERT_NO_FATAL_FAILURE(test::aboutResetAndClose(velmora.deck(), velmora.windows(), expected));
    EXPECT_EQ(velmora.waitForExit(), 0) << velmora.errors().toStdString();
}

// Under a scale of 2 a click marks what is drawn under the device pixel clicked.
TEST(EndToEnd, ClicksLandOnTheDevicePixelClickedAtScaleTwo)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    Velmora velmora(programPath, {}, environment, 2);
    Board expected;
    velmora.expectShows(expected);
    test::clickGapsThenEdges(
        expected, 2, [&](QPoint pixel, bool right) { velmora.clickDevicePixel(pixel, right ? 3 : 1); },
        [&](const Board &board) { velmora.expectShows(board); });
}

TEST(EndToEnd, CommandLineArgumentsChangeNothing)
{
    QImage plain;
    {
        Velmora velmora(programPath);
        velmora.expectShows(Board());
        plain = velmora.screenshot();
    }
    Velmora velmora(programPath, {"-reverse", "-style", "Windows", "--help", "-platform", "offscreen"});
    velmora.expectShows(Board());
    velmora.deck().expectScreenshot(plain);
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
        Velmora velmora(QStringLiteral("strace"),
                        {"-f", "-qq", "-o", traceLog, "-e", "trace=%file,%network,%desc,%process", programPath},
                        environment);
        Board played;
        velmora.expectShows(played);
        velmora.click({230, 120});
        played.markPlayed({Rank::Eight, Suit::Hearts});
        ASSERT_NO_FATAL_FAILURE(test::aboutResetAndClose(velmora.deck(), velmora.windows(), played));
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
    Velmora velmora(faultyProgramPath);
    ASSERT_NO_FATAL_FAILURE(test::clickTheFailingPicture(velmora.deck(), velmora.windows()));
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
        Velmora velmora(QStringLiteral("bash"),
                        {"-c", "source \"$0/scripts/lib/common.sh\" && open_window \"$1\"", sourcePath, programPath},
                        environment);
        velmora.expectShows(Board());
        velmora.keys({"alt+F4"});
        EXPECT_EQ(velmora.waitForExit(), 0);
        EXPECT_EQ(velmora.errors().toStdString(), "");
    }
    EXPECT_TRUE(QDir(scratch.path()).isEmpty());
}

} // namespace
} // namespace velmora

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    using namespace velmora;
    if (const int status = test::readArguments(argc, argv, "VELMORA FAULTY-VELMORA SOURCE-DIRECTORY",
                                               {&programPath, &faultyProgramPath, &sourcePath}))
        return status;
    testing::AddGlobalTestEnvironment(new velmora::test::XServer);
    return RUN_ALL_TESTS();
}
