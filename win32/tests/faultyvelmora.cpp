// Velmora whose marker pictures cannot be shown, so that the fatal-error path can
// be driven end to end. Built for the tests only.

#include <win32/mainwindow.h>

namespace {

class FaultyWindow : public velmora::win32::MainWindow {
public:
    using MainWindow::MainWindow;
    bool showCell(const velmora::CardCell &cell) override
    {
        return cell.state() != velmora::CellState::Played && MainWindow::showCell(cell);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    FaultyWindow window(instance);
    return window.run(showCommand);
}
