#include "boardview.h"

#include "boardaccessible.h"
#include "fatalerror.h"

#include <window/accessiblenames.h>

#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

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
QPointF exactPosition(const QWidget *widget, const QMouseEvent *event)
{
    if (!event->spontaneous())
        return event->position();
    return widget->mapFrom(widget->window(), event->scenePosition());
}

} // namespace

BoardView::BoardView(const Board &board, CardPixmaps pixmaps, QWidget *parent)
    : QWidget(parent), board_(board), pixmaps_(std::move(pixmaps))
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

const QPixmap &BoardView::pictureFor(const CardCell &cell) const
{
    const bool played = cell.state() == CellState::Played;
    const QPixmap &picture = played ? pixmaps_.marker() : pixmaps_.card(cell.card());
    if (picture.isNull())
        throw pictureFailure(cell);
    return picture;
}

void BoardView::showCell(Card card)
{
    const CardCell &cell = board_.cell(card);
    pictureFor(cell);
    update(toQRect(cell.rect()));

    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(cardIndex(card));
        QAccessible::updateAccessibility(&event);
    }
}

void BoardView::showBoard()
{
    for (const CardCell &cell : board_.cells())
        pictureFor(cell);
    update(toQRect(kGridRect));
}

void BoardView::activateCard(Card card)
{
    if (board_.cell(card).state() == CellState::Unplayed)
        emit cardClicked(card);
}

void BoardView::paintEvent(QPaintEvent *event)
{
    runHandler([&] {
        QPainter painter(this);
        for (const CardCell &cell : board_.cells()) {
            const QRect rect = toQRect(cell.rect());
            if (event->region().intersects(rect))
                painter.drawPixmap(rect.topLeft(), pictureFor(cell));
        }
    });
}

std::optional<Card> BoardView::cardAt(QPointF position) const
{
    // Pixel (x, y) covers [x, x + 1): floor, not round, so edges land where they are drawn.
    const QPointF p(std::floor(position.x()), std::floor(position.y()));
    if (!rect().contains(p.toPoint()))
        return std::nullopt;
    return board_.hitTest(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    clicks_.press(mouseButton(event->button()), cardAt(exactPosition(this, event)));
}

void BoardView::mouseReleaseEvent(QMouseEvent *event)
{
    if (const std::optional<Card> clicked =
            clicks_.release(mouseButton(event->button()), cardAt(exactPosition(this, event))))
        emit cardClicked(*clicked);
}

} // namespace velmora
