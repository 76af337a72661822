// Velmora started the way the shipped program starts, with the click timing
// of the benchmark builds.

#include "probedapplication.h"

#include <application.h>
#include <form1.h>

int main(int, char **)
{
    static int toolkitArgc = 1;
    static char programName[] = "velmora";
    static char *toolkitArgv[] = {programName, nullptr};

    velmora::prepareToolkit();
    ProbedApplication app(toolkitArgc, toolkitArgv);
    velmora::nameApplication();

    velmora::Form1 window;
    window.show();
    return app.exec();
}
