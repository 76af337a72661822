#pragma once

#include <board/board.h>

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::test {

// A running program's main window as an end-to-end test drives it. Each desktop
// (X11, Wayland, Wine) gives the primitives; the scenarios below are written
// once on them.
class DeckWindow {
public:
    explicit DeckWindow(int scale) : scale_(scale) {}
    virtual ~DeckWindow() = default;
    DeckWindow(const DeckWindow &) = delete;
    DeckWindow &operator=(const DeckWindow &) = delete;

    // Device pixels per picture pixel.
    int scale() const { return scale_; }

    // The client area as the screen shows it, in device pixels.
    virtual QImage clientArea() = 0;
    // A button (1 left, 2 middle, 3 right) pressed or released over a device pixel of the client area.
    virtual void press(QPoint pixel, int button) = 0;
    virtual void release(QPoint pixel, int button) = 0;
    // Clicked `repeat` times in quick succession, as a double-click is.
    virtual void clickDevicePixel(QPoint pixel, int button = 1, int repeat = 1);
    // Types each key into the window in turn: "Return", "ctrl+z".
    virtual void keys(const QStringList &keys) = 0;
    // Alt+menu, then the item's key, until `done` holds; whether it did.
    virtual bool accessKeys(const QString &menu, const QString &item, const std::function<bool()> &done);
    // The program's visible windows named "Velmora", this one first.
    virtual QStringList windows() = 0;
    // Return typed into another of the program's windows.
    virtual void answer(const QString &box) = 0;
    // Closed as the desktop closes a window.
    virtual void close() = 0;

    // The device pixel in the middle of those that draw a point of the deck's own pixel grid.
    QPoint devicePixel(QPoint point) const { return point * scale_ + QPoint(scale_ / 2, scale_ / 2); }
    void click(QPoint point, int button = 1, int repeat = 1) { clickDevicePixel(devicePixel(point), button, repeat); }
    // Waits until the client area shows exactly this board.
    void expectShows(const Board &board);
    // Whether it does now.
    bool shows(const Board &board);
    // Waits until exactly `count` windows are open; them, this one first.
    QStringList waitForWindows(int count);

private:
    // Empty when the client area, `shown`, is exactly this board; otherwise where it differs.
    QString differenceFrom(const Board &board, QImage &shown);

    int scale_;
};

// The whole desktop walk, from the full deck shown: a click on every device pixel
// across the gaps and the cards' edges, both buttons, a double-click, presses
// released elsewhere, keys that must do nothing, then aboutResetAndClose. The
// caller sees the program end.
void walkTheDeck(DeckWindow &window);

// Help > About... and its OK by keys, then File > Reset, then a close with a card
// marked: the box is modal, the marks (`expected`) stay until Reset, and closing
// asks nothing.
void aboutResetAndClose(DeckWindow &window, const Board &expected);

// In a build whose 8 of Hearts cannot be shown, clicks it and dismisses the box
// that says so; the caller sees the program fail.
void clickTheFailingPicture(DeckWindow &window);

} // namespace velmora::test
