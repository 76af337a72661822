#include "application.h"
#include "form1.h"
#include "leanstyle.h"

#include <QApplication>

int main(int, char **)
{
    // Velmora takes no arguments, and the toolkit must not act on any either:
    // it only ever sees the program's name.
    static int toolkitArgc = 1;
    static char programName[] = "velmora";
    static char *toolkitArgv[] = {programName, nullptr};

    const auto app = velmora::startApplication(toolkitArgc, toolkitArgv);
    QApplication::setStyle(new velmora::LeanStyle); // the application takes ownership

    velmora::Form1 window;
    window.show();
    return QApplication::exec();
}
