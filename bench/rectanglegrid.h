#pragma once

#include <board/card.h>

#include <QWidget>

#include <array>
#include <optional>

// The floor Velmora is measured against: the same 52 cells as plain coloured
// rectangles, a click turning one black and Reset bringing them all back.
class RectangleGrid : public QWidget {
public:
    explicit RectangleGrid(QWidget *parent = nullptr);

    void reset();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::optional<int> cellAt(QPoint position) const;

    std::array<bool, velmora::kCardCount> played_{};
    std::optional<int> pressed_;
};
