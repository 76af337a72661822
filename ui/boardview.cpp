#include "boardview.h"

#include "boardaccessible.h"

#include <window/accessiblenames.h>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace velmora {

namespace {

QRect toQRect(const PixelRect &r) { return QRect(r.left, r.top, r.width, r.height); }

MouseButton mouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    default:
        return MouseButton::Other;
    }
}

// Where the pointer was, to the device pixel. Qt rounds the window system's
// position to whole logical pixels before it hands an event to a widget, which
// at a scale of 2 moves a click half a pixel: from a gap onto the next card, or
// off a card's last column. The position in the window keeps the fraction. An
// event sent straight to the widget carries its own position as it is.
PicturePoint exactPosition(const QWidget *widget, const QMouseEvent *event)
{
    const QPointF p =
        event->spontaneous() ? widget->mapFrom(widget->window(), event->scenePosition()) : event->position();
    return {p.x(), p.y()};
}

} // namespace

BoardView::BoardView(Form1 &form, CardPixmaps pixmaps, QWidget *parent)
    : QWidget(parent), form_(form), pixmaps_(std::move(pixmaps))
{
    installBoardAccessibility();
    setFixedSize(kClientWidth, kClientHeight);
    // Cards are clicked, never typed at: keys belong to the menus alone.
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setAccessibleName(
        QString::fromUtf8(kDeckAccessibleName.data(), static_cast<qsizetype>(kDeckAccessibleName.size())));
}

QSize BoardView::sizeHint() const { return QSize(kClientWidth, kClientHeight); }

void BoardView::showCell(const CardCell &cell) { update(toQRect(cell.rect())); }

void BoardView::showBoard() { update(toQRect(kGridRect)); }

void BoardView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const CardCell &cell : board().cells()) {
        const QRect rect = toQRect(cell.rect());
        if (event->region().intersects(rect))
            painter.drawPixmap(rect.topLeft(), pixmaps_.picture(cell.shownPictureNumber()));
    }
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    form_.mousePressed(mouseButton(event->button()), exactPosition(this, event));
}

void BoardView::mouseReleaseEvent(QMouseEvent *event)
{
    form_.mouseReleased(mouseButton(event->button()), exactPosition(this, event));
}

// The window system's grab ends when the window is deactivated or hidden, as
// when another window or a popup takes the mouse: the release never comes here.
bool BoardView::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate)
        form_.mouseLost();
    return QWidget::event(event);
}

void BoardView::hideEvent(QHideEvent *event)
{
    form_.mouseLost();
    QWidget::hideEvent(event);
}

} // namespace velmora
