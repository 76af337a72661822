#pragma once

#include "cardpixmaps.h"

#include <window/devicegrid.h>
#include <window/form1.h>

#include <QWidget>

namespace velmora {

// Draws the window's board and hands the mouse to it, in picture pixels to the
// fraction of a device pixel. At any scale each picture pixel is a whole block of
// device pixels, and the view sizes itself so that the window spans whole device
// pixels. It keeps no state but the pictures at the current block size: what a
// click does is Form1's to decide.
class BoardView : public QWidget {
    Q_OBJECT

public:
    BoardView(Form1 &form, CardPixmaps pixmaps, QWidget *parent = nullptr);

    const Board &board() const { return form_.board(); }
    // Assistive technology pressed the card.
    void activate(Card card) { form_.activateCard(card); }
    // For assistive technology, which finds cards by their place on the screen:
    // the logical pixels of this view that a rectangle of picture pixels touches,
    // and the picture point under a point of the view.
    QRect logicalRect(const PixelRect &picture) const;
    PicturePoint pictureAt(QPointF point) const;

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
    // The picture point under the pointer, to the fraction of a logical pixel.
    PicturePoint pictureUnder(const QMouseEvent *event) const;
    void nameAfterBoard();
    // The board on the device pixels of the window at its current scale.
    DeviceGrid deviceGrid() const;
    // Sizes the view so that the window spans whole device pixels at the current scale.
    void fitToScale();

    Form1 &form_;
    const CardPixmaps pixmaps_;
    CardPixmaps scaled_;
    int scaledFactor_ = 1;
};

} // namespace velmora
