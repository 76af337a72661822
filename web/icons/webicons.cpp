// Writes the site's icons into the given directory: the application icon at its
// own sizes for the page (velmora-16.png, velmora-32.png), and enlarged by whole
// pixels for the web app manifest (velmora-192.png, velmora-512.png).

#include <pictures/pictures.h>
#include <pictures/tools/png.h>
#include <pictures/tools/writefile.h>

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output directory>\n";
        return 2;
    }
    try {
        const std::string dir = argv[1];
        velmora::writeFile(dir + "/velmora-16.png", velmora::encodeIconPng(velmora::appIcon(16)));
        velmora::writeFile(dir + "/velmora-32.png", velmora::encodeIconPng(velmora::appIcon(32)));
        velmora::writeFile(dir + "/velmora-192.png", velmora::encodeIconPng(velmora::appIcon(32), 6));
        velmora::writeFile(dir + "/velmora-512.png", velmora::encodeIconPng(velmora::appIcon(32), 16));
    } catch (const std::exception &e) {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
