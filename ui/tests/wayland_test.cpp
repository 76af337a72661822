// Drives the real program as a native Wayland client of a headless compositor
// (sway), at whole and fractional output scales, with a virtual pointer and
// keyboard, and compares what the compositor shows with the pictures pixel for
// pixel, each picture pixel a whole block of device pixels.

#include "deckwindow.h"
#include "endtoend.h"

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

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

QString programPath;
QString pointerPath;

// Device pixels, at every scale: whole logical sizes at 1.25, 1.5 and 1.75 too.
constexpr QSize kOutputSize(1680, 1050);

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

    // Types a key sequence. wtype loses keys unless it waits a little first.
    // Its keyboard, the seat's only one, goes when it ends, and the client's
    // window loses the activation with it, which would cancel a click under way:
    // once the compositor has let the keyboard go, the client hears of it before
    // any click that follows.
    void type(const QStringList &keys) const
    {
        test::run(QStringLiteral("wtype"), QStringList{"-s", "100"} + keys, clientEnvironment());
        EXPECT_TRUE(test::waitFor([&] { return !swaymsg({"-t", "get_inputs"}).contains("\"keyboard\""); }))
            << "wtype's keyboard is still on the seat";
    }

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

    // A button pressed or released over a device pixel of the output. A real
    // pointer lands between device pixels: this one on the device pixel's centre.
    void button(QPoint device, int code, bool down)
    {
        send(QStringLiteral("move %1 %2 %3 %4")
                 .arg(2 * device.x() + 1)
                 .arg(2 * device.y() + 1)
                 .arg(2 * kOutputSize.width())
                 .arg(2 * kOutputSize.height()));
        send(QStringLiteral("%1 %2").arg(down ? "press" : "release").arg(code));
        if (!down)
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

// The program's main window on the compositor's output.
class SwayWindow : public test::DeckWindow {
public:
    SwayWindow(Compositor &compositor, Pointer &pointer, const test::Program &program, double scale)
        : DeckWindow(wholeFactor(scale)), compositor_(compositor), pointer_(pointer), program_(program),
          outputScale_(scale)
    {
    }

    // The program's windows, as the compositor lists them, the main one first.
    std::vector<QJsonObject> views() const
    {
        std::vector<QJsonObject> found = compositor_.windowsOf(program_.processId());
        std::stable_partition(found.begin(), found.end(),
                              [this](const QJsonObject &view) { return view.value("id").toInteger() == main_; });
        return found;
    }

    // Sway centres a new window, which can put it half a logical pixel off the
    // device grid: sway 1.7 then draws it on the nearest device pixel but hands
    // it pointer positions from where it really is, half a logical pixel away.
    // A window whose client area starts on a multiple of 4 logical pixels lies
    // on the device grid at every scale tested.
    void placeOnDeviceGrid()
    {
        main_ = views().front().value("id").toInteger();
        const auto clientCorner = [this] { return logicalCorner(views().front()); };
        const auto moveTo = [this](QPoint position) {
            compositor_.swaymsg({QStringLiteral("[con_id=%1]").arg(main_), "move", "position",
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

    QImage clientArea() override
    {
        const QImage shot = compositor_.screenshot();
        if (!origin_) {
            const std::vector<QJsonObject> found = views();
            if (found.empty())
                return {};
            // The compositor puts the window's corner on the device pixel nearest to it.
            origin_ = test::findClientArea(shot, qRound(logicalCorner(found.front()).x() * outputScale_), scale());
            if (!origin_)
                return {};
        }
        return shot.copy(QRect(*origin_, QSize(kClientWidth, kClientHeight) * scale()));
    }

    void press(QPoint pixel, int button) override { pointer_.button(*origin_ + pixel, linuxButton(button), true); }
    void release(QPoint pixel, int button) override { pointer_.button(*origin_ + pixel, linuxButton(button), false); }

    // All in one go: wtype's keyboard goes when it ends, and takes an open menu with it.
    void keys(const QStringList &keys) override
    {
        QStringList args;
        for (const QString &key : keys) {
            const QString modifier = key.section('+', 0, -2);
            args << (modifier.isEmpty() ? QStringList{"-k", key}
                                        : QStringList{"-M", modifier, "-k", key.section('+', -1), "-m", modifier});
        }
        compositor_.type(args);
    }

    // The item's key must come after the menu's popup has the keyboard, or the
    // window gets it instead; how long the popup takes depends on the machine's
    // load, so each try leaves twice the time between the two keys. A try that
    // lost its key left nothing open.
    bool accessKeys(const QString &menu, const QString &item, const std::function<bool()> &done) override
    {
        for (int pause = 200; pause <= 12800; pause *= 2) {
            compositor_.type({"-M", "alt", "-k", menu, "-m", "alt", "-s", QString::number(pause), "-k", item});
            if (waitFor(done, 2000 + pause))
                return true;
        }
        return false;
    }

    QStringList windows() override
    {
        QStringList ids;
        for (const QJsonObject &view : views())
            if (view.value("name").toString() == QLatin1String("Velmora"))
                ids << QString::number(view.value("id").toInteger());
        return ids;
    }

    void answer(const QString &box) override
    {
        compositor_.swaymsg({QStringLiteral("[con_id=%1]").arg(box), "focus"});
        compositor_.type({"-k", "Return"});
    }

    void close() override { compositor_.swaymsg({QStringLiteral("[con_id=%1]").arg(main_), "kill"}); }

private:
    static QPoint logicalCorner(const QJsonObject &view)
    {
        const QJsonObject frame = view.value("rect").toObject();
        const QJsonObject content = view.value("window_rect").toObject();
        return {frame.value("x").toInt() + content.value("x").toInt(),
                frame.value("y").toInt() + content.value("y").toInt()};
    }
    // The Linux input code of X's button 1 (left), 2 (middle) or 3 (right).
    static int linuxButton(int button)
    {
        constexpr int kCodes[] = {0, 272, 274, 273};
        return kCodes[button];
    }

    Compositor &compositor_;
    Pointer &pointer_;
    const test::Program &program_;
    double outputScale_;
    qint64 main_ = -1;
    std::optional<QPoint> origin_;
};

// The output scales, in percent: whole ones, and the fractional ones that laptops ship with.
const int kScales[] = {100, 125, 150, 175, 200};

class Wayland : public testing::TestWithParam<int> {
protected:
    double scale() const { return GetParam() / 100.0; }

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

    Compositor compositor;
    Pointer pointer;
};

TEST_P(Wayland, ClicksKeysAndAboutWorkAsANativeClient)
{
    QProcessEnvironment environment = compositor.clientEnvironment();
    // No quiet fallback to X11: without the Wayland plugin the test must fail.
    environment.insert("QT_QPA_PLATFORM", "wayland");
    test::Program velmora(programPath, {}, environment);
    SwayWindow window(compositor, pointer, velmora, scale());
    ASSERT_TRUE(waitFor([&] { return window.views().size() == 1 && !window.clientArea().isNull(); }))
        << "no window showing the board: the program has " << window.views().size()
        << " windows, and the output shows " << test::describeShot(compositor.screenshot()).toStdString();
    ASSERT_NO_FATAL_FAILURE(window.placeOnDeviceGrid());

    const QJsonObject main = window.views().front();
    EXPECT_EQ(main.value("app_id").toString(), "org.example.Velmora");
    EXPECT_EQ(main.value("name").toString(), "Velmora");
    EXPECT_EQ(main.value("type").toString(), "floating_con") << "a fixed-size window floats";
    // On the device grid, or the compositor would resample the whole window.
    const QJsonObject content = main.value("window_rect").toObject();
    EXPECT_EQ(content.value("width").toInt(), DeviceGrid(scale(), 0, 0).windowWidth());
    for (const char *side : {"width", "height"})
        EXPECT_DOUBLE_EQ(content.value(side).toInt() * scale(), qRound(content.value(side).toInt() * scale())) << side;

    ASSERT_NO_FATAL_FAILURE(test::walkTheDeck(window));
    // Closed by the compositor, the program ends cleanly and has said nothing.
    EXPECT_EQ(velmora.waitForExit(), 0);
    EXPECT_EQ(velmora.errors().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Scale, Wayland, testing::ValuesIn(kScales),
                         [](const testing::TestParamInfo<int> &info) { return "Scale" + std::to_string(info.param); });

} // namespace
} // namespace velmora

int main(int argc, char **argv)
{
    return velmora::test::runTests(argc, argv, "VELMORA VIRTUAL-POINTER", {&velmora::programPath, &velmora::pointerPath});
}
