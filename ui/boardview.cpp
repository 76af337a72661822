#include "boardview.h"

#include "boardaccessible.h"

#include <window/accessiblenames.h>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace velmora {

namespace {

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

} // namespace

BoardView::BoardView(Form1 &form, CardPixmaps pixmaps, QWidget *parent)
    : QWidget(parent), form_(form), pixmaps_(std::move(pixmaps)), scaled_(pixmaps_)
{
    installBoardAccessibility();
    setFixedSize(kClientWidth, kClientHeight);
    // Cards are clicked, never typed at: keys belong to the menus alone.
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    nameAfterBoard();
}

QSize BoardView::sizeHint() const { return size(); }

DeviceGrid BoardView::deviceGrid() const
{
    const QPoint place = mapTo(window(), QPoint(0, 0));
    return DeviceGrid(devicePixelRatioF(), place.x(), place.y());
}

QRect BoardView::logicalRect(const PixelRect &picture) const
{
    // Every logical pixel that the cell's device pixels touch.
    const PixelRect device = deviceGrid().toDevice(picture);
    const qreal scale = devicePixelRatioF();
    const QRectF inWindow(device.left / scale, device.top / scale, device.width / scale, device.height / scale);
    return inWindow.toAlignedRect().translated(-mapTo(window(), QPoint(0, 0)));
}

PicturePoint BoardView::pictureAt(QPointF point) const
{
    const QPointF inWindow = QPointF(mapTo(window(), QPoint(0, 0))) + point;
    return deviceGrid().toPicture(inWindow.x(), inWindow.y());
}

// Qt rounds the window system's position to whole logical pixels before it hands
// an event to a widget, which at a scale of 2 moves a click half a pixel: from a
// gap onto the next card, or off a card's last column. The position in the window
// keeps the fraction. An event sent straight to the widget carries its own
// position as it is.
PicturePoint BoardView::pictureUnder(const QMouseEvent *event) const
{
    if (!event->spontaneous())
        return pictureAt(event->position());
    const QPointF inWindow = event->scenePosition();
    return deviceGrid().toPicture(inWindow.x(), inWindow.y());
}

void BoardView::showCell(const CardCell &cell)
{
    update(logicalRect(cell.rect()));
    nameAfterBoard();
}

void BoardView::showBoard()
{
    update(logicalRect(kGridRect));
    nameAfterBoard();
}

// The deck's name says whether it is whole; Qt tells readers when it changes.
void BoardView::nameAfterBoard()
{
    const QString name = QString::fromStdString(deckNameWithState(board()));
    if (accessibleName() != name)
        setAccessibleName(name);
}

void BoardView::fitToScale()
{
    const DeviceGrid grid = deviceGrid();
    const QPoint place = mapTo(window(), QPoint(0, 0));
    setFixedSize(grid.windowWidth() - place.x(), grid.windowHeight() - place.y());
    update();
}

void BoardView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // Draw in device pixels of whatever is painted on, the window or a picture
    // of this widget, with the board's corner on the first whole device pixel.
    const QTransform toDevice = painter.deviceTransform();
    const qreal scale = devicePixelRatioF();
    const DeviceGrid grid(scale, toDevice.dx() / scale, toDevice.dy() / scale);
    painter.setWorldTransform(toDevice.inverted());
    const QRect shown = toDevice.mapRect(QRectF(event->rect())).toAlignedRect();
    if (grid.factor() != scaledFactor_) {
        scaled_ = pixmaps_.scaled(grid.factor());
        scaledFactor_ = grid.factor();
    }
    for (const CardCell &cell : board().cells()) {
        const PixelRect r = grid.toDevice(cell.rect());
        const QRect rect(r.left, r.top, r.width, r.height);
        if (shown.intersects(rect))
            painter.drawPixmap(rect.topLeft(), scaled_.picture(cell.shownPictureNumber()));
    }
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    form_.mousePressed(mouseButton(event->button()), pictureUnder(event));
}

void BoardView::mouseReleaseEvent(QMouseEvent *event)
{
    form_.mouseReleased(mouseButton(event->button()), pictureUnder(event));
}

// The window system's grab ends when the window is deactivated or hidden, as
// when another window or a popup takes the mouse: the release never comes here.
bool BoardView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate:
        form_.mouseLost();
        break;
    // A new scale (another screen, or the user's choice): other block sizes, and
    // a window size on the new device grid.
    case QEvent::Show:
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
        fitToScale();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void BoardView::hideEvent(QHideEvent *event)
{
    form_.mouseLost();
    QWidget::hideEvent(event);
}

} // namespace velmora
