#pragma once

#include <window/form1.h>
#include <window/formview.h>

#include <QMainWindow>

class QMessageBox;

namespace velmora {

class BoardView;

// The Qt window around the program's Form1: the deck on screen, the File and
// Help menus, the message boxes and the accessibility events. Its widgets hand
// the toolkit's events to Form1, and it shows what Form1 asks it to.
class MainWindow : public QMainWindow, public FormView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    bool showCell(const CardCell &cell) override;
    bool showBoard(const Board &board) override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announcePlay(const CardCell &cell) override;
    void endWithFatalError(std::string_view text) override;
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
    QMessageBox *messageBox_ = nullptr;
};

} // namespace velmora
