#include "mainwindow.h"

// Velmora takes no arguments: the command line is never read.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    velmora::win32::MainWindow window(instance);
    return window.run(showCommand);
}
