// Writes the application icon for desktop integration: velmora.ico with both
// sizes, and velmora-32.png and velmora-16.png, into the given directory.

#include "writefile.h"

#include <pictures/tools/ico.h>
#include <pictures/pictures.h>
#include <pictures/tools/png.h>

#include <exception>
#include <iostream>
#include <string>

namespace velmora {

namespace {

std::vector<std::uint8_t> iconPng(int size)
{
    const IconPicture &icon = appIcon(size);
    std::vector<Rgba> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            pixels.push_back(icon.rgba(x, y));
    }
    return encodePng(size, size, pixels);
}

} // namespace

} // namespace velmora

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
        writeFile(dir + "/velmora-32.png", iconPng(32));
        writeFile(dir + "/velmora-16.png", iconPng(16));
    } catch (const std::exception &e) {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
