// Velmora with the marker picture missing, so that the fatal-error path can be
// driven end to end. Built for the tests only.

#include <win32/form1.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    velmora::win32::DeckPictures pictures = velmora::win32::DeckPictures::builtIn();
    pictures.marker = nullptr;
    return velmora::win32::runForm1(instance, showCommand, pictures);
}
