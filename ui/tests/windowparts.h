#pragma once

#include <board/board.h>

#include <QString>

namespace velmora {
class BoardView;
class MainWindow;
} // namespace velmora

namespace velmora::test {

// The real window's parts, found as the toolkit's own tools find them: by type
// and by object name.
BoardView *boardView(const MainWindow &window);
// Runs a menu item, "Reset" or "About".
void trigger(const MainWindow &window, const char *item);

// Empty when the view shows exactly this board, each picture pixel a scale ×
// scale block; otherwise where it first differs.
QString screenDifference(BoardView *view, const Board &expected, int scale = 1);

} // namespace velmora::test
