#pragma once

#include "cardpixmaps.h"

#include <board/board.h>
#include <window/clicktracker.h>

#include <QWidget>

#include <optional>

namespace velmora {

// Draws the board owned by the main window and reports clicks on its cards.
// The only state kept here is which card a mouse button went down on.
class BoardView : public QWidget {
    Q_OBJECT

public:
    BoardView(const Board &board, CardPixmaps pixmaps, QWidget *parent = nullptr);

    const Board &board() const { return board_; }

    // Shows the picture the cell's state now calls for.
    void showCell(Card card);
    void showBoard();

    // A press action from assistive technology, handled exactly like a click.
    void activateCard(Card card);

    QSize sizeHint() const override;

signals:
    void cardClicked(velmora::Card card);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const QPixmap &pictureFor(const CardCell &cell) const;
    std::optional<Card> cardAt(QPointF position) const;

    const Board &board_;
    const CardPixmaps pixmaps_;
    ClickTracker clicks_;
};

} // namespace velmora
