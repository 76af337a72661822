#pragma once

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
// Waits until exactly `count` visible top-level windows are named "Velmora", and
// returns them with `main`, when it is one of them, first.
QStringList waitForVelmoraWindows(int count, const QString &main = {});

// A top-level window on the X server, whose client area shows the deck in its top-left corner.
class DeckWindow {
public:
    DeckWindow(QString id, int scale) : id_(std::move(id)), scale_(scale) {}

    const QString &id() const { return id_; }
    QImage screenshot() const;
    // Where the client area starts: the Ace of Clubs sits at its top-left corner.
    QPoint clientOrigin();
    QImage clientArea();
    // Waits until the client area is exactly this board.
    void expectShows(const Board &board);
    // Waits until the whole window, frame and menu bar too, looks exactly like this.
    void expectScreenshot(const QImage &expected) const;
    // Clicks at a point of the deck's own pixel grid, in the middle of the device pixels that draw it.
    void click(QPoint point, int button = 1, int repeat = 1);
    // Clicks one device pixel of the client area.
    void clickDevicePixel(QPoint pixel, int button = 1);
    // Presses a button over one point and releases it over another.
    // A button pressed, or released, at a point of the client area.
    void press(QPoint point, int button = 1) { pointerAt(point, "mousedown", button); }
    void release(QPoint point, int button = 1) { pointerAt(point, "mouseup", button); }
    // Activates the window, then types each key (xdotool's names) in turn.
    void keys(const QStringList &keys);

private:
    QPoint toScreen(QPoint point);
    void pointerAt(QPoint point, const QString &action, int button);

    QString id_;
    int scale_;
    std::optional<QPoint> origin_;
};

// Clicks the corners, the gaps and the strips beside the grid, with both buttons,
// a double-click and on a played card, checking the board after each click that
// marks a card; `expected` follows the clicks.
void clickAroundTheGrid(DeckWindow &window, Board &expected);

// The program's windows once there are `count`, as many as came by the deadline.
using WindowWaiter = std::function<QStringList(int count)>;

// Help > About... and its OK by keys, then File > Reset, then Alt+F4 with a card
// marked: the box is modal, the marks (`expected`) stay until Reset, and closing
// asks nothing; the caller sees the program end.
void aboutResetAndClose(DeckWindow &window, const WindowWaiter &windows, const Board &expected);

// In a build whose 8 of Hearts cannot be shown, clicks it and dismisses the box
// that says so; the caller sees the program fail.
void clickTheFailingPicture(DeckWindow &window, const WindowWaiter &windows);

} // namespace velmora::test
