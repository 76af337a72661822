// Drives the real program as a native Wayland client of a headless compositor
// (sway), at whole and fractional output scales, with a virtual pointer and
// keyboard, and compares what the compositor shows with the pictures pixel for
// pixel, each picture pixel a whole block of device pixels.

#include "endtoend.h"
#include "rendering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <window/devicegrid.h>

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace velmora {
namespace {

QString programPath;
QString pointerPath;

// Device pixels, at every scale: whole logical sizes at 1.25, 1.5 and 1.75 too.
constexpr QSize kOutputSize(1680, 1050);
constexpr int kLeftButton = 272;        // Linux input codes
constexpr int kRightButton = 273;

using test::waitFor;

// A headless sway with one output at the given scale, private to one test. Sway
// will not run as root, so under root it runs as nobody; its clients run as the
// test does and reach it by the socket's full path.
class Compositor {
public:
    void start(double scale)
    {
        const QDir root(root_.path());
        for (const char *dir : {"compositor", "home", "client-home", "client-run"})
            root.mkdir(dir);
        QFile config(root.filePath("sway.conf"));
        config.open(QIODevice::WriteOnly);
        config.write(QStringLiteral("output * resolution %1x%2 scale %3\nxwayland disable\n")
                         .arg(kOutputSize.width())
                         .arg(kOutputSize.height())
                         .arg(scale)
                         .toUtf8());
        config.close();
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QFile::setPermissions(root.path(), owner | QFile::ExeGroup | QFile::ExeOther);
        QFile::setPermissions(config.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        for (const char *dir : {"compositor", "client-run"})
            QFile::setPermissions(root.filePath(dir), owner);

        QProcessEnvironment environment;
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        environment.insert("HOME", root.filePath("home"));
        environment.insert("XDG_RUNTIME_DIR", root.filePath("compositor"));
        environment.insert("WLR_BACKENDS", "headless");
        environment.insert("WLR_RENDERER", "pixman");
        environment.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        sway_.setProcessEnvironment(environment);
        sway_.setStandardOutputFile(QProcess::nullDevice());
        sway_.setStandardErrorFile(root.filePath("sway.log"));
        if (geteuid() == 0) {
            const passwd *nobody = getpwnam("nobody");
            ASSERT_NE(nobody, nullptr) << "there is no user nobody to run the compositor as";
            const uid_t uid = nobody->pw_uid;
            const gid_t gid = nobody->pw_gid;
            for (const char *dir : {"compositor", "home"})
                ASSERT_EQ(chown(QFile::encodeName(root.filePath(dir)).constData(), uid, gid), 0);
            sway_.setChildProcessModifier([uid, gid] {
                if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                    _exit(127);
                test::dieWithTheTest(); // after setuid(), which forgets it
            });
        } else {
            sway_.setChildProcessModifier(test::dieWithTheTest);
        }
        sway_.start(QStringLiteral("sway"), {"--config", config.fileName()});
        ASSERT_TRUE(sway_.waitForStarted()) << "sway did not start: " << sway_.errorString().toStdString();

        const QDir runtime(root.filePath("compositor"));
        const bool ready = waitFor([&] {
            const QStringList sockets = runtime.entryList({"wayland-*", "sway-ipc.*.sock"}, QDir::System);
            for (const QString &name : sockets)
                (name.startsWith("wayland-") ? display_ : ipc_) = runtime.filePath(name);
            return !display_.isEmpty() && !ipc_.isEmpty() && !swaymsg({"-t", "get_outputs"}).isEmpty();
        });
        ASSERT_TRUE(ready) << "sway did not come up:\n" << log().toStdString();
    }

    ~Compositor()
    {
        sway_.terminate();
        if (!sway_.waitForFinished(5000)) {
            sway_.kill();
            sway_.waitForFinished();
        }
    }

    QString log() const
    {
        QFile file(QDir(root_.path()).filePath("sway.log"));
        file.open(QIODevice::ReadOnly);
        return QString::fromLocal8Bit(file.readAll());
    }

    // What a client of this compositor runs with: nothing from the test's own session.
    QProcessEnvironment clientEnvironment() const
    {
        const QDir root(root_.path());
        QProcessEnvironment environment;
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        environment.insert("HOME", root.filePath("client-home"));
        environment.insert("XDG_RUNTIME_DIR", root.filePath("client-run"));
        environment.insert("WAYLAND_DISPLAY", display_);
        for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(name))
                environment.insert(name, qEnvironmentVariable(name));
        return environment;
    }

    QString swaymsg(const QStringList &args) const
    {
        return test::run(QStringLiteral("swaymsg"), QStringList{"--socket", ipc_} + args, clientEnvironment());
    }

    // The windows of one process, as the compositor lists them.
    std::vector<QJsonObject> windowsOf(qint64 processId) const
    {
        std::vector<QJsonObject> found;
        const std::function<void(const QJsonObject &)> visit = [&](const QJsonObject &node) {
            if (node.value("pid").toInteger() == processId)
                found.push_back(node);
            for (const char *children : {"nodes", "floating_nodes"})
                for (const QJsonValue &child : node.value(children).toArray())
                    visit(child.toObject());
        };
        visit(QJsonDocument::fromJson(swaymsg({"-t", "get_tree"}).toUtf8()).object());
        return found;
    }

    // The whole output, in device pixels.
    QImage screenshot() const
    {
        QProcess grim;
        grim.setProcessEnvironment(clientEnvironment());
        grim.start(QStringLiteral("grim"), {"-"});
        grim.waitForFinished(test::kPatience);
        return QImage::fromData(grim.readAllStandardOutput(), "PNG");
    }

    // Types a key sequence, all in one go: wtype's keyboard goes when it ends, and
    // takes an open menu with it. It loses keys unless it waits a little first.
    void type(const QStringList &keys) const { test::run(QStringLiteral("wtype"), QStringList{"-s", "100"} + keys, clientEnvironment()); }

private:
    QTemporaryDir root_;
    QProcess sway_;
    QString display_;
    QString ipc_;
};

// A pointer held open in the compositor, moved and clicked to device pixels of the output.
class Pointer {
public:
    void start(const Compositor &compositor)
    {
        process_.setProcessEnvironment(compositor.clientEnvironment());
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setChildProcessModifier(test::dieWithTheTest);
        process_.start(pointerPath);
        ASSERT_TRUE(answered()) << "the virtual pointer did not start";
    }

    ~Pointer()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished();
    }

    // A real pointer lands between device pixels: this one on the device pixel's centre.
    void click(QPoint device, int button = kLeftButton)
    {
        send(QStringLiteral("move %1 %2 %3 %4")
                 .arg(2 * device.x() + 1)
                 .arg(2 * device.y() + 1)
                 .arg(2 * kOutputSize.width())
                 .arg(2 * kOutputSize.height()));
        send(QStringLiteral("press %1").arg(button));
        send(QStringLiteral("release %1").arg(button));
        park();
    }

    // Whether the compositor offers a global of this interface.
    bool offers(const QString &interface)
    {
        process_.write("offers " + interface.toUtf8() + '\n');
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(test::kPatience))
                return false;
        return process_.readLine().trimmed() == "yes";
    }

    // The software cursor shows in screenshots: keep it in the output's corner, away from any window.
    void park() { send(QStringLiteral("move %1 %2 %1 %2").arg(kOutputSize.width() - 1).arg(kOutputSize.height() - 1)); }

private:
    void send(const QString &command)
    {
        process_.write(command.toUtf8() + '\n');
        EXPECT_TRUE(answered()) << "the virtual pointer did not do " << command.toStdString();
    }

    bool answered()
    {
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(test::kPatience))
                return false;
        return process_.readLine().trimmed() == "ok";
    }

    QProcess process_;
};

// The output scales, in percent: whole ones, and the fractional ones that laptops ship with.
const int kScales[] = {100, 125, 150, 175, 200};

class Wayland : public testing::TestWithParam<int> {
protected:
    double scale() const { return GetParam() / 100.0; }
    // Device pixels per picture pixel.
    int factor() const { return wholeFactor(scale()); }

    void SetUp() override
    {
        const bool fractional = GetParam() % 100 != 0;
        if (fractional && QT_VERSION < QT_VERSION_CHECK(6, 5, 0))
            GTEST_SKIP() << "Qt " << qVersion() << " takes no fractional scale from the compositor (Qt 6.5 does): "
                         << "it draws at 2 and the compositor shrinks the window, blending every card";
        ASSERT_NO_FATAL_FAILURE(compositor.start(scale()));
        ASSERT_NO_FATAL_FAILURE(pointer.start(compositor));
        ASSERT_NO_FATAL_FAILURE(pointer.park());
        if (fractional && !pointer.offers("wp_fractional_scale_manager_v1"))
            GTEST_SKIP() << "this sway offers no fractional-scale protocol (sway 1.8 does): "
                         << "it would ask for 2 and shrink the window, blending every card";
    }

    // Starts the program and finds its window and the board in it.
    void start()
    {
        QProcessEnvironment environment = compositor.clientEnvironment();
        // No quiet fallback to X11: without the Wayland plugin the test must fail.
        environment.insert("QT_QPA_PLATFORM", "wayland");
        velmora = std::make_unique<test::Program>(programPath, QStringList(), environment);
        ASSERT_TRUE(waitFor([&] { return windows().size() == 1 && !clientArea().isNull(); }))
            << "no window showing the board: the program has " << windows().size()
            << " windows, and the output shows " << test::describeShot(compositor.screenshot()).toStdString();
        ASSERT_NO_FATAL_FAILURE(placeOnDeviceGrid());
    }

    // Sway centres a new window, which can put it half a logical pixel off the
    // device grid: sway 1.7 then draws it on the nearest device pixel but hands
    // it pointer positions from where it really is, half a logical pixel away.
    // A window whose client area starts on a multiple of 4 logical pixels lies
    // on the device grid at every scale tested.
    void placeOnDeviceGrid()
    {
        const auto clientCorner = [this] {
            const QJsonObject view = windows().front();
            const QJsonObject frame = view.value("rect").toObject();
            const QJsonObject content = view.value("window_rect").toObject();
            return QPoint(frame.value("x").toInt() + content.value("x").toInt(),
                          frame.value("y").toInt() + content.value("y").toInt());
        };
        const auto moveTo = [this](QPoint position) {
            compositor.swaymsg({QStringLiteral("[pid=%1]").arg(velmora->processId()), "move", "position",
                                QString::number(position.x()), QString::number(position.y())});
        };
        // Where the client area lands depends on the frame's width and title bar:
        // move once to see, then again to the grid.
        constexpr QPoint kPlace(100, 100);
        const QPoint centred = clientCorner();
        moveTo(kPlace);
        waitFor([&] { return clientCorner() != centred; }, 5000);
        const QPoint overshoot(clientCorner().x() % 4, clientCorner().y() % 4);
        moveTo(kPlace + QPoint((4 - overshoot.x()) % 4, (4 - overshoot.y()) % 4));
        ASSERT_TRUE(waitFor([&] { return clientCorner().x() % 4 == 0 && clientCorner().y() % 4 == 0; }))
            << "the window is not on the device grid";
        origin_.reset();
        ASSERT_TRUE(waitFor([&] { return !clientArea().isNull(); })) << "the board is gone after the move";
    }

    std::vector<QJsonObject> windows() const { return compositor.windowsOf(velmora->processId()); }

    // The client area of the main window, in device pixels of the output.
    QImage clientArea()
    {
        const QImage shot = compositor.screenshot();
        if (!origin_) {
            const std::vector<QJsonObject> views = windows();
            if (views.empty())
                return {};
            const QJsonObject frame = views.front().value("rect").toObject();
            const QJsonObject content = views.front().value("window_rect").toObject();
            // The compositor puts the window's corner on the device pixel nearest to it.
            const int left = qRound((frame.value("x").toInt() + content.value("x").toInt()) * scale());
            origin_ = test::findClientArea(shot, left, factor());
            if (!origin_)
                return {};
        }
        return shot.copy(QRect(*origin_, QSize(kClientWidth, kClientHeight) * factor()));
    }

    void expectShows(const Board &board)
    {
        const QString difference = test::waitUntilShown([this] { return clientArea(); }, board, factor());
        EXPECT_TRUE(difference.isEmpty()) << difference.toStdString();
    }

    // Alt+menu, then the item's key, until `opened` holds. The item's key must come
    // after the menu's popup has the keyboard, or the window gets it instead; how
    // long the popup takes depends on the machine's load, so each try leaves
    // twice the time between the two keys. A try that lost its key left nothing
    // open: wtype's keyboard, and the menu with it, goes when wtype ends.
    bool typeAccessKeys(const QString &menu, const QString &item, const std::function<bool()> &opened)
    {
        for (int pause = 200; pause <= 12800; pause *= 2) {
            compositor.type({"-M", "alt", "-k", menu, "-m", "alt", "-s", QString::number(pause), "-k", item});
            if (waitFor(opened, 2000 + pause))
                return true;
        }
        return false;
    }

    // Clicks a device pixel of the client area.
    void click(QPoint device, int button = kLeftButton) { pointer.click(*origin_ + device, button); }

    Compositor compositor;
    Pointer pointer;
    std::unique_ptr<test::Program> velmora;
    std::optional<QPoint> origin_;
};

TEST_P(Wayland, ClicksKeysAndAboutWorkAsANativeClient)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const std::vector<QJsonObject> main = windows();
    ASSERT_EQ(main.size(), 1u);
    EXPECT_EQ(main[0].value("app_id").toString(), "org.example.Velmora");
    EXPECT_EQ(main[0].value("name").toString(), "Velmora");
    EXPECT_EQ(main[0].value("type").toString(), "floating_con") << "a fixed-size window floats";
    // On the device grid, or the compositor would resample the whole window.
    const QJsonObject content = main[0].value("window_rect").toObject();
    EXPECT_EQ(content.value("width").toInt(), DeviceGrid(scale(), 0, 0).windowWidth());
    for (const char *side : {"width", "height"})
        EXPECT_DOUBLE_EQ(content.value(side).toInt() * scale(), qRound(content.value(side).toInt() * scale())) << side;
    Board expected;
    expectShows(expected);

    test::clickGapsThenEdges(
        expected, factor(), [&](QPoint pixel, bool right) { click(pixel, right ? kRightButton : kLeftButton); },
        [&](const Board &board) { expectShows(board); });

    // Help > About... by its access keys. The box is modal: the window takes no click.
    ASSERT_TRUE(typeAccessKeys("h", "a", [&] { return windows().size() == 2; })) << "no About box";
    const std::vector<QJsonObject> withBox = windows();
    const QJsonObject box = withBox[withBox[0].value("id") == main[0].value("id") ? 1 : 0];
    EXPECT_EQ(box.value("name").toString(), "Velmora");
    // The Ace of Clubs, in the main window's first column, lies clear of the box.
    click(QPoint(kCardWidth / 2, kCardHeight / 2) * factor());
    compositor.swaymsg({QStringLiteral("[con_id=%1]").arg(box.value("id").toInteger()), "focus"});
    compositor.type({"-k", "Return"});
    ASSERT_TRUE(waitFor([&] { return windows().size() == 1; })) << "Return did not close the About box";
    {
        SCOPED_TRACE("after the About box");
        expectShows(expected);
    }

    // File > Reset by its access keys.
    const auto resetShown = [&] {
        const QImage shown = clientArea();
        return shown.width() > kCardWidth * factor() &&
               test::firstDifference(shown, test::renderBoard(Board(), shown.pixel(kCardWidth * factor(), 0),
                                                              factor()))
                   .isEmpty();
    };
    EXPECT_TRUE(typeAccessKeys("f", "r", resetShown)) << "File > Reset by its keys did not reset";
    {
        SCOPED_TRACE("after File > Reset");
        expectShows(Board());
    }

    // Closed by the compositor, the program ends cleanly and has said nothing.
    compositor.swaymsg({QStringLiteral("[pid=%1]").arg(velmora->processId()), "kill"});
    EXPECT_EQ(velmora->waitForExit(), 0);
    EXPECT_EQ(velmora->errors().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Scale, Wayland, testing::ValuesIn(kScales),
                         [](const testing::TestParamInfo<int> &info) { return "Scale" + std::to_string(info.param); });

} // namespace
} // namespace velmora

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    using namespace velmora;
    if (const int status = test::readArguments(argc, argv, "VELMORA VIRTUAL-POINTER", {&programPath, &pointerPath}))
        return status;
    return RUN_ALL_TESTS();
}
