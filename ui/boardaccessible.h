#pragma once

#include <board/card.h>

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>

#include <array>

namespace velmora {

class BoardView;

// Makes the deck's 52 cards visible to screen readers and voice control: each
// card is a picture named after it and whether it was played ("8 of Hearts,
// played"), with a press action while it can be played. A picture, not a check
// box: Orca's flat review gives a check box's state a stop of its own, and reads
// a button's name word by word; a picture is one stop, read whole.
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(BoardView *view);
    ~BoardAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    BoardView *view() const;

private:
    mutable std::array<QAccessible::Id, kCardCount> childIds_{};
};

// One card of the deck as an accessible element.
class CardAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CardAccessible(BoardAccessible *board, Card card) : board_(board), card_(card) {}

    Card card() const { return card_; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override { return board_; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    bool isPlayed() const;

    BoardAccessible *board_;
    Card card_;
};

// Registers the accessibility factory for the board view; safe to call more than once.
void installBoardAccessibility();

} // namespace velmora
