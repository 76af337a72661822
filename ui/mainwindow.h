#pragma once

#include "cardpixmaps.h"

#include <window/form1.h>
#include <window/formview.h>

#include <QMainWindow>

class QAction;

namespace velmora {

class BoardView;

// The Qt window around the program's Form1: the deck on screen, the File and
// Help menus, the message box and the accessibility events. It turns the
// toolkit's events into Form1's calls and shows what Form1 asks it to.
class MainWindow : public QMainWindow, public FormView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    const Board &board() const { return form_.board(); }
    BoardView *boardView() const { return view_; }
    QAction *resetAction() const { return reset_; }
    QAction *aboutAction() const { return about_; }

    bool showCell(const CardCell &cell) override;
    bool showBoard() override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announceDeckReset() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void createMenus();
    // Moves the screen reader's focus, never the keyboard's, to the deck or to
    // one of its cards: the reader speaks it and reads on from there.
    void moveReaderFocus(int card = -1);

    Form1 form_{*this};
    BoardView *view_;
    QAction *reset_ = nullptr;
    QAction *about_ = nullptr;
};

} // namespace velmora
