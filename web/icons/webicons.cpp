// Writes the site's icons into the given directory: the application icon at its
// own sizes for the page (velmora-16.png, velmora-32.png), and enlarged by whole
// pixels for the web app manifest (velmora-192.png, velmora-512.png).

#include <pictures/pictures.h>
#include <pictures/tools/png.h>
#include <pictures/tools/writefile.h>

#include <exception>
#include <iostream>
#include <string>

namespace {

// The 32-pixel art with each pixel a factor × factor block, or the 16-pixel art.
std::vector<std::uint8_t> iconPng(int art, int factor)
{
    const velmora::IconPicture &icon = velmora::appIcon(art);
    const int size = art * factor;
    std::vector<velmora::Rgba> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            pixels.push_back(icon.rgba(x / factor, y / factor));
    }
    return velmora::encodePng(size, size, pixels);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output directory>\n";
        return 2;
    }
    try {
        const std::string dir = argv[1];
        velmora::writeFile(dir + "/velmora-16.png", iconPng(16, 1));
        velmora::writeFile(dir + "/velmora-32.png", iconPng(32, 1));
        velmora::writeFile(dir + "/velmora-192.png", iconPng(32, 6));
        velmora::writeFile(dir + "/velmora-512.png", iconPng(32, 16));
    } catch (const std::exception &e) {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
