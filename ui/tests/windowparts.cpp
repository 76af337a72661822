#include "windowparts.h"

#include "rendering.h"

#include <ui/boardview.h>
#include <ui/mainwindow.h>

#include <QAction>

#include <gtest/gtest.h>

namespace velmora::test {

BoardView *boardView(const MainWindow &window)
{
    auto *view = window.findChild<BoardView *>();
    EXPECT_TRUE(view) << "the window has no board";
    return view;
}

void trigger(const MainWindow &window, const char *item)
{
    auto *action = window.findChild<QAction *>(QString::fromLatin1(item));
    ASSERT_TRUE(action) << "the menus have no item " << item;
    action->trigger();
}

QString screenDifference(BoardView *view, const Board &expected, int scale)
{
    const QRgb background = view->palette().color(QPalette::Window).rgb();
    return firstDifference(view->grab().toImage(), renderBoard(expected, background, scale));
}

} // namespace velmora::test
