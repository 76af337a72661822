#include "input.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace velmora::test {

namespace {

void send(QWidget *widget, QEvent::Type type, QPoint point, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(point), widget->mapToGlobal(QPointF(point)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

void press(QWidget *widget, QPoint point, Qt::MouseButton button)
{
    send(widget, QEvent::MouseButtonPress, point, button);
}

void release(QWidget *widget, QPoint point, Qt::MouseButton button)
{
    send(widget, QEvent::MouseButtonRelease, point, button);
}

void click(QWidget *widget, QPoint point, Qt::MouseButton button)
{
    press(widget, point, button);
    release(widget, point, button);
}

void doubleClick(QWidget *widget, QPoint point, Qt::MouseButton button)
{
    click(widget, point, button);
    send(widget, QEvent::MouseButtonDblClick, point, button);
    release(widget, point, button);
}

void clickThroughWindow(QWidget *widget, QPointF point, Qt::MouseButton button)
{
    // Clicks far apart in time, so that two on the same spot are not a double-click.
    static int timestamp = 0;
    timestamp += QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1;

    QWindow *window = widget->window()->windowHandle();
    const QPointF inWindow = widget->mapTo(widget->window(), point);
    const QPointF global = window->mapToGlobal(inWindow);
    qt_handleMouseEvent(window, inWindow, global, button, button, QEvent::MouseButtonPress, Qt::NoModifier,
                        timestamp);
    qt_handleMouseEvent(window, inWindow, global, Qt::NoButton, button, QEvent::MouseButtonRelease,
                        Qt::NoModifier, timestamp);
}

} // namespace velmora::test
