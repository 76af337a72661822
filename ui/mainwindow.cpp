#include "mainwindow.h"

#include "boardaccessible.h"
#include "boardview.h"

#include <window/about.h>
#include <window/accessiblenames.h>
#include <window/config.h>

#include <QAccessible>
#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include <cstdlib>

namespace velmora {

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), view_(new BoardView(form_, CardPixmaps::fromPictures(), this))
{
    setWindowTitle(QString::fromUtf8(config::kApplicationName));
    setWindowIcon(applicationIcon());
    // A fixed frame: it can be minimised and closed, but not resized or maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setCentralWidget(view_);
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File"));
    QAction *reset = file->addAction(QStringLiteral("&Reset"));
    reset->setObjectName(QStringLiteral("Reset"));
    connect(reset, &QAction::triggered, this, [this] { form_.Reset_Click(); });

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    QAction *about = help->addAction(QStringLiteral("&About..."));
    about->setObjectName(QStringLiteral("About"));
    // The item opens a plain message box, not a standard About dialog, so keep it
    // where it is on every platform.
    about->setMenuRole(QAction::NoRole);
    connect(about, &QAction::triggered, this, [this] { form_.About_Click(); });

    // A closed menu leaves the screen reader on an item that is gone: bring it back
    // to the deck once the menu's own events are out.
    for (QMenu *menu : {file, help})
        connect(menu, &QMenu::aboutToHide, this, [this] { moveReaderFocus(); }, Qt::QueuedConnection);
}

bool MainWindow::showCell(const CardCell &cell)
{
    view_->showCell(cell);
    return true;
}

bool MainWindow::showBoard(const Board &)
{
    view_->showBoard();
    return true;
}

void MainWindow::showMessage(std::string_view text)
{
    // One box for the window's life. A screen reader goes on asking about the box
    // it was in after the box closes; were it gone, the reader would lose the way
    // back to the deck, and Qt's bridge can leave such questions unanswered for
    // seconds.
    if (!messageBox_) {
        // No title of our own: the box carries the application's name.
        messageBox_ = new QMessageBox(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), {},
                                      QMessageBox::Ok, this);
        messageBox_->setDefaultButton(QMessageBox::Ok);
        messageBox_->setWindowModality(Qt::ApplicationModal);
    }
    // Labels do not break at a lone carriage return, so break the lines here.
    messageBox_->setText(QString::fromStdString(withLineBreaks(text, "\n")));
    messageBox_->exec();
}

void MainWindow::announceCardState(const CardCell &cell)
{
    if (!QAccessible::isActive())
        return;
    const int card = cardIndex(cell.card());
    // The card's name says whether it was played.
    QAccessibleEvent renamed(view_, QAccessible::NameChanged);
    renamed.setChild(card);
    QAccessible::updateAccessibility(&renamed);
    // The bridge tells one state per event: whether the card can be pressed, and
    // whether it is checked. The second is also what a reader says when it took a
    // click on the card for its own place without a word (Orca 43, when the
    // program's focus event reached it before the click did).
    QAccessible::State disabled;
    disabled.disabled = true;
    QAccessible::State checked;
    checked.checked = true;
    for (const QAccessible::State &changed : {disabled, checked}) {
        QAccessibleStateChangeEvent event(view_, changed);
        event.setChild(card);
        QAccessible::updateAccessibility(&event);
    }
}

// A reader speaks a state change only of what it is on; the focus makes it say
// the played card with its new state wherever it was.
void MainWindow::announcePlay(const CardCell &cell) { moveReaderFocus(cardIndex(cell.card())); }

void MainWindow::announceDeckReset()
{
    moveReaderFocus();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Readers that take announcements (Orca 46 and later) also say that the deck
    // is back; older ones hear it from the deck's description with the focus.
    if (QAccessible::isActive()) {
        QAccessibleAnnouncementEvent announcement(
            view_, QString::fromUtf8(kResetAnnouncement.data(), static_cast<qsizetype>(kResetAnnouncement.size())));
        QAccessible::updateAccessibility(&announcement);
    }
#endif
}

// Entering the window, at start, from another window or from the message box,
// the reader says where it is: the deck, which no key can reach.
void MainWindow::changeEvent(QEvent *event)
{
    // After the window's own activation events, which put the reader on the frame.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, [this] { moveReaderFocus(); }, Qt::QueuedConnection);
    QMainWindow::changeEvent(event);
}

void MainWindow::moveReaderFocus(int card)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(view_, QAccessible::Focus);
    event.setChild(card);
    QAccessible::updateAccessibility(&event);
}

void MainWindow::endWithFatalError(std::string_view text)
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok);
    box.exec();
    // The state is only what is on screen: there is nothing to save or clean up.
    std::_Exit(EXIT_FAILURE);
}

} // namespace velmora
