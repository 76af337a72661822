#include "form1.h"

#include "boardview.h"
#include <window/config.h>
#include "fatalerror.h"

#include <window/about.h>

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <array>

namespace velmora {

Form1::Form1(CardPixmaps pixmaps, QWidget *parent)
    : QMainWindow(parent), view_(new BoardView(board_, std::move(pixmaps), this))
{
    setWindowTitle(QString::fromUtf8(config::kApplicationName));
    setWindowIcon(applicationIcon());
    // A fixed frame: it can be minimised and closed, but not resized or maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setCentralWidget(view_);
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(view_, &BoardView::cardClicked, this, &Form1::cardClicked);
}

void Form1::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File"));
    reset_ = file->addAction(QStringLiteral("&Reset"));
    reset_->setObjectName(QStringLiteral("Reset"));
    connect(reset_, &QAction::triggered, this, &Form1::Reset_Click);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    about_ = help->addAction(QStringLiteral("&About..."));
    about_->setObjectName(QStringLiteral("About"));
    // The item opens a plain message box, not a standard About dialog, so keep it
    // where it is on every platform.
    about_->setMenuRole(QAction::NoRole);
    connect(about_, &QAction::triggered, this, &Form1::About_Click);
}

void Form1::cardClicked(Card card)
{
    // Each card picture has its own click handler, as the window was designed.
    VELMORA_RUN_CARD_HANDLER(Form1, card);
}

#define VELMORA_DEFINE_CARD_HANDLER(n)                                                                      \
    void Form1::Image##n##_Click() { playCard(n); }
VELMORA_FOR_EACH_CARD_PICTURE(VELMORA_DEFINE_CARD_HANDLER)
#undef VELMORA_DEFINE_CARD_HANDLER

void Form1::playCard(int pictureNumber)
{
    runHandler([&] {
        const Card card = *cardWithPicture(pictureNumber);
        if (board_.markPlayed(card))
            view_->showCell(card);
    });
}

void Form1::Reset_Click()
{
    runHandler([&] {
        board_.resetBoard();
        view_->showBoard();
    });
}

void Form1::About_Click()
{
    runHandler([&] {
        // Labels do not break at a lone carriage return, so break the lines here.
        const QString shown = QString::fromStdString(withLineBreaks(aboutText(), "\n"));
        // No title of our own: the box carries the application's name.
        QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), shown,
                        QMessageBox::Ok, this);
        box.setDefaultButton(QMessageBox::Ok);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    });
}

} // namespace velmora
