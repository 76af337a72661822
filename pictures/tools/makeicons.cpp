// Writes the application icon for desktop integration: velmora.ico with both
// sizes, and velmora-32.png and velmora-16.png, into the given directory.

#include "writefile.h"

#include <pictures/tools/ico.h>
#include <pictures/pictures.h>
#include <pictures/tools/png.h>

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char *argv[])
{
    using namespace velmora;
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output directory>\n";
        return 2;
    }
    try {
        const std::string dir = argv[1];
        writeFile(dir + "/velmora.ico", encodeIco({appIcon(32), appIcon(16)}));
        writeFile(dir + "/velmora-32.png", encodeIconPng(appIcon(32)));
        writeFile(dir + "/velmora-16.png", encodeIconPng(appIcon(16)));
    } catch (const std::exception &e) {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
