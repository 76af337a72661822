#pragma once

#include "cardpixmaps.h"

#include <window/form1.h>

#include <QWidget>

namespace velmora {

// Draws the window's board and hands the mouse to it, in picture pixels to the
// fraction of a device pixel. It keeps no state: what a click does is Form1's
// to decide.
class BoardView : public QWidget {
    Q_OBJECT

public:
    BoardView(Form1 &form, CardPixmaps pixmaps, QWidget *parent = nullptr);

    const Board &board() const { return form_.board(); }
    // Assistive technology pressed the card.
    void activate(Card card) { form_.activateCard(card); }

    // Draws the cell, or the whole grid, again from the board.
    void showCell(const CardCell &cell);
    void showBoard();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Form1 &form_;
    const CardPixmaps pixmaps_;
};

} // namespace velmora
