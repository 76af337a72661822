#pragma once

#include "cardpixmaps.h"

#include <board.h>

#include <QMainWindow>
#include <QString>

class QAction;

namespace velmora {

class BoardView;

// X(n) for the number of every card picture, Image56 to Image107.
#define VELMORA_FOR_EACH_CARD_PICTURE(X)                                                                    \
    X(56) X(57) X(58) X(59) X(60) X(61) X(62) X(63) X(64) X(65) X(66) X(67) X(68) X(69) X(70) X(71) X(72)     \
    X(73) X(74) X(75) X(76) X(77) X(78) X(79) X(80) X(81) X(82) X(83) X(84) X(85) X(86) X(87) X(88) X(89)     \
    X(90) X(91) X(92) X(93) X(94) X(95) X(96) X(97) X(98) X(99) X(100) X(101) X(102) X(103) X(104) X(105)    \
    X(106) X(107)

// The credit line: author, e-mail and web address joined by single carriage returns.
QString aboutText();

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
#define VELMORA_DECLARE_CARD_HANDLER(n) void Image##n##_Click();
    VELMORA_FOR_EACH_CARD_PICTURE(VELMORA_DECLARE_CARD_HANDLER)
#undef VELMORA_DECLARE_CARD_HANDLER

    Board board_;
    BoardView *view_;
    QAction *reset_ = nullptr;
    QAction *about_ = nullptr;
};

} // namespace velmora
