#include "input.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

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

} // namespace velmora::test
