#include "mainwindow.h"

// Velmora takes no arguments: the command line is never read.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return velmora::win32::runProgram(instance, showCommand);
}
