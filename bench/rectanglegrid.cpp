#include "rectanglegrid.h"

#include <board/geometry.h>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

QRect cellRect(int index)
{
    const velmora::PixelRect r = velmora::cellRect(velmora::cardAt(index));
    return QRect(r.left, r.top, r.width, r.height);
}

} // namespace

RectangleGrid::RectangleGrid(QWidget *parent) : QWidget(parent)
{
    setFixedSize(velmora::kClientWidth, velmora::kClientHeight);
}

void RectangleGrid::reset()
{
    played_.fill(false);
    update();
}

void RectangleGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (int i = 0; i < velmora::kCardCount; ++i) {
        const QRect rect = cellRect(i);
        if (event->region().intersects(rect))
            painter.fillRect(rect, played_[i] ? Qt::black : Qt::white);
    }
}

std::optional<int> RectangleGrid::cellAt(QPoint position) const
{
    for (int i = 0; i < velmora::kCardCount; ++i) {
        if (!played_[i] && cellRect(i).contains(position))
            return i;
    }
    return std::nullopt;
}

// A click is a press and a release on the same cell, as it is in Velmora, so
// that both programs do the same work for one.
void RectangleGrid::mousePressEvent(QMouseEvent *event) { pressed_ = cellAt(event->position().toPoint()); }

void RectangleGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (pressed_ && cellAt(event->position().toPoint()) == pressed_) {
        played_[*pressed_] = true;
        update(cellRect(*pressed_));
    }
    pressed_.reset();
}
