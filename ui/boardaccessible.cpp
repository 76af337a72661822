#include "boardaccessible.h"

#include "boardview.h"

#include <window/accessiblenames.h>

#include <QWidget>

namespace velmora {

namespace {

QAccessibleInterface *boardAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("velmora::BoardView") && object->isWidgetType())
        return new BoardAccessible(static_cast<BoardView *>(object));
    return nullptr;
}

} // namespace

void installBoardAccessibility()
{
    static const bool installed = (QAccessible::installFactory(boardAccessibleFactory), true);
    (void)installed;
}

BoardAccessible::BoardAccessible(BoardView *view) : QAccessibleWidget(view, QAccessible::Pane) {}

BoardAccessible::~BoardAccessible()
{
    for (QAccessible::Id id : childIds_) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

BoardView *BoardAccessible::view() const { return static_cast<BoardView *>(widget()); }

int BoardAccessible::childCount() const { return kCardCount; }

QAccessibleInterface *BoardAccessible::child(int index) const
{
    if (index < 0 || index >= kCardCount)
        return nullptr;
    QAccessible::Id &id = childIds_[index];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(
            new CardAccessible(const_cast<BoardAccessible *>(this), cardAt(index)));
    return QAccessible::accessibleInterface(id);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (child == nullptr || child->parent() != this || child->role() != QAccessible::Graphic)
        return -1;
    return cardIndex(static_cast<const CardAccessible *>(child)->card());
}

QAccessibleInterface *BoardAccessible::childAt(int x, int y) const
{
    const std::optional<Card> card = cardUnder(view()->pictureAt(view()->mapFromGlobal(QPointF(x, y))));
    return card ? child(cardIndex(*card)) : nullptr;
}

bool CardAccessible::isValid() const { return board_->isValid(); }

QWindow *CardAccessible::window() const { return board_->window(); }

bool CardAccessible::isPlayed() const
{
    return board_->view()->board().cell(card_).state() == CellState::Played;
}

QString CardAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QString::fromStdString(cardNameWithState(board_->view()->board().cell(card_)));
    default:
        return {};
    }
}

QRect CardAccessible::rect() const
{
    const BoardView *view = board_->view();
    const QRect r = view->logicalRect(cellRect(card_));
    return QRect(view->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State CardAccessible::state() const
{
    QAccessible::State s;
    // A played card is covered: it is checked and can no longer be pressed.
    s.checkable = true;
    s.checked = isPlayed();
    s.disabled = isPlayed();
    return s;
}

void *CardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList CardAccessible::actionNames() const
{
    return isPlayed() ? QStringList() : QStringList{pressAction()};
}

void CardAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        board_->view()->activate(card_);
}

} // namespace velmora
