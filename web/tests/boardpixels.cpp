// Prints what the client area must show with the given cards played (indices
// 0..51), straight from the pictures: one line per row, each pixel as eight hex
// digits RRGGBBAA, with alpha 00 where the background shows.

#include <board/board.h>
#include <pictures/pictures.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char *argv[])
{
    using namespace velmora;
    Board board;
    for (int i = 1; i < argc; ++i)
        board.markPlayed(cardAt(std::atoi(argv[i])));
    std::vector<unsigned> pixels(static_cast<std::size_t>(kClientWidth) * kClientHeight, 0);
    for (const CardCell &cell : board.cells()) {
        const Picture &picture =
            cell.state() == CellState::Played ? markerPicture() : cardPicture(cell.rank(), cell.suit());
        const PixelRect r = cell.rect();
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                const Rgb c = picture.pixel(x, y);
                pixels[(r.top + y) * kClientWidth + r.left + x] =
                    (unsigned{c.r} << 24) | (unsigned{c.g} << 16) | (unsigned{c.b} << 8) | 0xff;
            }
        }
    }
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x)
            std::printf("%08x", pixels[y * kClientWidth + x]);
        std::printf("\n");
    }
    return 0;
}
