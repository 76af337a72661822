#include "application.h"
#include "mainwindow.h"
#include "leanstyle.h"

#include <QApplication>

#include <cstdlib>

int main(int, char **)
{
    // Velmora takes no arguments, and the toolkit must not act on any either:
    // it only ever sees the program's name.
    static int toolkitArgc = 1;
    static char programName[] = "velmora";
    static char *toolkitArgv[] = {programName, nullptr};

    const auto app = velmora::startApplication(toolkitArgc, toolkitArgv);
    QApplication::setStyle(new velmora::LeanStyle); // the application takes ownership

    velmora::MainWindow window;
    window.show();
    const int status = QApplication::exec();
    // Qt 6.4's Wayland plugin can hang for good while it disconnects: its event
    // thread waits for a read that never comes, and the process lingers with no
    // window. Velmora keeps nothing, so on Wayland the process ends right here.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        std::_Exit(status);
    return status;
}
