#pragma once

#include "cardpixmaps.h"

#include <board/board.h>
#include <window/cardhandlers.h>

#include <QMainWindow>

class QAction;

namespace velmora {

class BoardView;

// The program's one window: the deck on screen and the File and Help menus.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(CardPixmaps pixmaps = CardPixmaps::fromPictures(), QWidget *parent = nullptr);

    const Board &board() const { return board_; }
    BoardView *boardView() const { return view_; }
    QAction *resetAction() const { return reset_; }
    QAction *aboutAction() const { return about_; }

private:
    void createMenus();
    void cardClicked(Card card);
    void playCard(int pictureNumber);

    void Reset_Click();
    void About_Click();
    VELMORA_DECLARE_CARD_HANDLERS()

    Board board_;
    BoardView *view_;
    QAction *reset_ = nullptr;
    QAction *about_ = nullptr;
};

} // namespace velmora
