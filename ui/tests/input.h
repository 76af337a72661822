#pragma once

#include <QPoint>
#include <Qt>

class QWidget;

namespace velmora::test {

// Mouse input as the window system delivers it. QTest's helpers take the point
// (0, 0) to mean "the widget's centre" and send a double-click without its
// surrounding presses, so the tests build the events themselves.
void press(QWidget *widget, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void release(QWidget *widget, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void click(QWidget *widget, QPoint point, Qt::MouseButton button = Qt::LeftButton);
// Press, release, double-click, release: what a real double-click delivers.
void doubleClick(QWidget *widget, QPoint point, Qt::MouseButton button = Qt::LeftButton);

} // namespace velmora::test
