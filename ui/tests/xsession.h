#pragma once

#include "deckwindow.h"
#include "endtoend.h"
#include "sessionbus.h"

#include <board/board.h>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace velmora::test {

QString xdotool(const QStringList &args);

// A private X server with a window manager, a session bus and a runtime directory,
// as a desktop session has, for the whole test run. DISPLAY, DBUS_SESSION_BUS_ADDRESS
// and XDG_RUNTIME_DIR point at them.
class XServer : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    QTemporaryDir runtime_;
    QProcess xvfb_;
    QProcess windowManager_;
    SessionBus bus_;
};

// The visible top-level windows with exactly this name.
QStringList visibleWindows(const QString &name);

// A top-level window on the X server, whose client area shows the deck in its
// top-left corner, driven with xdotool.
class XWindow : public DeckWindow {
public:
    XWindow(QString id, int scale) : DeckWindow(scale), id_(std::move(id)) {}

    const QString &id() const { return id_; }
    QImage screenshot() const;
    // Where the client area starts: the Ace of Clubs sits at its top-left corner.
    QPoint clientOrigin();
    // Waits until the whole window, frame and menu bar too, looks exactly like this.
    void expectScreenshot(const QImage &expected) const;

    QImage clientArea() override;
    void press(QPoint pixel, int button) override { pointerAt(pixel, "mousedown", button); }
    void release(QPoint pixel, int button) override { pointerAt(pixel, "mouseup", button); }
    void clickDevicePixel(QPoint pixel, int button = 1, int repeat = 1) override;
    // Activates the window first.
    void keys(const QStringList &keys) override;
    QStringList windows() override;
    void answer(const QString &box) override;
    void close() override { keys({"alt+F4"}); }

    // Called once the button has gone down (true) or up (false), for a program
    // that must be seen to have taken each before the next comes.
    std::function<void(bool down)> afterButton;

private:
    void pointerAt(QPoint pixel, const QString &action, int button, const QStringList &options = {});

    QString id_;
    std::optional<QPoint> origin_;
};

// One running copy of a Velmora program and its window.
class XVelmora {
public:
    XVelmora(const QString &program, const QStringList &args = {},
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(), int scale = 1);
    // Ends the program and waits until its windows are gone, so that none is taken for the next one's.
    ~XVelmora();
    XVelmora(const XVelmora &) = delete;
    XVelmora &operator=(const XVelmora &) = delete;

    XWindow &window() { return *window_; }
    int waitForExit() { return program_.waitForExit(); }
    const QString &errors() const { return program_.errors(); }

private:
    Program program_;
    std::unique_ptr<XWindow> window_;
};

} // namespace velmora::test
