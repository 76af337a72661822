#pragma once

#include <QPoint>
#include <QPointF>
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

// A click reported by the window system to the widget's window, at a point of the
// widget that need not fall on a whole logical pixel (a device pixel at scale 2
// is half of one). It takes the toolkit's own path from window to widget.
void clickThroughWindow(QWidget *widget, QPointF point, Qt::MouseButton button = Qt::LeftButton);

} // namespace velmora::test
