// The bare Qt window Velmora's speed is compared with: the same size, the same
// two menus, and 52 solid rectangles in place of the card pictures.

#include "rectanglegrid.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QMainWindow window;
    auto *grid = new RectangleGrid;
    window.setCentralWidget(grid);
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QObject::connect(file->addAction(QStringLiteral("&Reset")), &QAction::triggered, grid, &RectangleGrid::reset);
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    QObject::connect(help->addAction(QStringLiteral("&About...")), &QAction::triggered, &window,
                     [&window] { QMessageBox::information(&window, QString(), QStringLiteral("Baseline")); });
    window.show();
    return app.exec();
}
