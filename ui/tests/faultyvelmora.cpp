// Velmora whose marker pictures cannot be shown, so that the fatal-error path can
// be driven end to end. Built for the tests only.

#include <ui/application.h>
#include <ui/mainwindow.h>

#include <QApplication>

namespace {

class FaultyWindow : public velmora::MainWindow {
public:
    bool showCell(const velmora::CardCell &cell) override
    {
        return cell.state() != velmora::CellState::Played && MainWindow::showCell(cell);
    }
};

} // namespace

int main(int argc, char **argv)
{
    const auto app = velmora::startApplication(argc, argv);
    FaultyWindow window;
    window.show();
    return QApplication::exec();
}
